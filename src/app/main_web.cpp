// The page: the program's configuration, then the web host's start-up (the page's screen, the
// worker). main returns at once; the page's event loop and the worker go on.
#include "app/app_config.h"
#include "host/web/web_program.h"

int main() { return lw::web::runProgram(lw::configureProgram); }
