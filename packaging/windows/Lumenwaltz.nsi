; The Windows installer: copies Lumenwaltz.scr into the system folder, makes it the current
; screensaver, remembering the one it replaces, and registers an uninstaller that puts that one
; back. scripts/package builds it with Debian's makensis and names every input:
;   makensis -DVERSION=1.0.0 -DCOPYRIGHT=... -DSCR=Lumenwaltz.scr -DLICENSE=LICENSE.txt
;            -DICON=ICON_MAIN.ico -DOUTFILE=Lumenwaltz-1.0.0-setup.exe Lumenwaltz.nsi
; /S installs or uninstalls without a window.

!macro REQUIRE input
!ifndef ${input}
!error "define ${input} on makensis's command line"
!endif
!macroend
!insertmacro REQUIRE VERSION
!insertmacro REQUIRE COPYRIGHT
!insertmacro REQUIRE SCR
!insertmacro REQUIRE LICENSE
!insertmacro REQUIRE ICON
!insertmacro REQUIRE OUTFILE

Unicode true
; The 32-bit installer would write the 32-bit view of the registry and the 32-bit system folder.
Target amd64-unicode
SetCompressor /SOLID lzma
; No file times go into the installer, so the same inputs give the same bytes.
SetDateSave off
RequestExecutionLevel admin

!define SCR_NAME "Lumenwaltz.scr"
!define DESKTOP_KEY "Control Panel\Desktop"
!define MEMORY_KEY "Software\Lumenwaltz"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumenwaltz"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_SENDCHANGE 2

Name "Lumenwaltz ${VERSION}"
BrandingText "Lumenwaltz ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Lumenwaltz"
VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "Lumenwaltz"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "Lumenwaltz ${VERSION} setup"
VIAddVersionKey LegalCopyright "${COPYRIGHT}"

!include LogicLib.nsh
!include MUI2.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; The MIT licence asks for no consent: the page only shows it.
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Lumenwaltz is free software under this licence."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The same helpers in the installer and in the uninstaller, which NSIS keeps apart by the "un."
; prefix.
!macro HELPERS prefix
; $0 := 1 when the current screensaver is ours. The Screen Saver settings may have written it
; as a short 8.3 path, hence the long form before the case-blind comparison.
Function ${prefix}IsOursSelected
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call 'kernel32::GetLongPathNameW(w r1, w .r2, i ${NSIS_MAX_STRLEN}) i .r3'
    ${If} $3 <> 0
        StrCpy $1 $2
    ${EndIf}
    StrCpy $0 0
    ${If} $1 == "$SYSDIR\${SCR_NAME}"
        StrCpy $0 1
    ${EndIf}
FunctionEnd

; Copies a value from one key of HKCU to another; a value that is absent is removed on the other
; side, so that "none" comes back as none. Takes the name, the source key and the target key
; from the stack, in the order COPY_VALUE pushes them.
Function ${prefix}CopyValue
    Pop $2
    Pop $1
    Pop $0
    ClearErrors
    ReadRegStr $3 HKCU $1 $0
    ${If} ${Errors}
        DeleteRegValue HKCU $2 $0
    ${Else}
        WriteRegStr HKCU $2 $0 $3
    ${EndIf}
FunctionEnd

Function ${prefix}AnnounceScreensaver
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${If} $0 == ""
        StrCpy $0 0
    ${EndIf}
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i r0, p 0, i ${SPIF_SENDCHANGE})'
FunctionEnd
!macroend
!insertmacro HELPERS ""
!insertmacro HELPERS "un."

!macro COPY_VALUE prefix name from to
    Push "${name}"
    Push "${from}"
    Push "${to}"
    Call ${prefix}CopyValue
!macroend

; Bytes of a file, in whole kilobytes rounded up, added to $4.
!macro ADD_KILOBYTES path
    FileOpen $0 "${path}" r
    FileSeek $0 0 END $1
    FileClose $0
    IntOp $1 $1 + 1023
    IntOp $1 $1 / 1024
    IntOp $4 $4 + $1
!macroend

Function .onInit
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Lumenwaltz"
    SetOutPath "$SYSDIR"
    File "/oname=${SCR_NAME}" "${SCR}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; A reinstall finds itself selected: what it replaced is remembered from the first install.
    Call IsOursSelected
    ${If} $0 == 0
        !insertmacro COPY_VALUE "" "SCRNSAVE.EXE" "${DESKTOP_KEY}" "${MEMORY_KEY}"
        !insertmacro COPY_VALUE "" "ScreenSaveActive" "${DESKTOP_KEY}" "${MEMORY_KEY}"
    ${EndIf}
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\${SCR_NAME}"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
    Call AnnounceScreensaver

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Lumenwaltz"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "the Lumenwaltz developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\${SCR_NAME},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    StrCpy $4 0
    !insertmacro ADD_KILOBYTES "$SYSDIR\${SCR_NAME}"
    !insertmacro ADD_KILOBYTES "$INSTDIR\Uninstall.exe"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $4
SectionEnd

Section "Uninstall"
    ; A screensaver the user chose after ours stays chosen.
    Call un.IsOursSelected
    ${If} $0 == 1
        !insertmacro COPY_VALUE "un." "SCRNSAVE.EXE" "${MEMORY_KEY}" "${DESKTOP_KEY}"
        !insertmacro COPY_VALUE "un." "ScreenSaveActive" "${MEMORY_KEY}" "${DESKTOP_KEY}"
        Call un.AnnounceScreensaver
    ${EndIf}
    DeleteRegKey HKCU "${MEMORY_KEY}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete /REBOOTOK "$SYSDIR\${SCR_NAME}"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
