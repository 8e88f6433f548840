// The frame on the canvas: the program's surface goes up as a WebGL texture straight from the
// module's memory, and one quad shows it fitted to the canvas, its aspect kept, the bars beside it
// in the background colour. The surface's rows are bottom-up and its pixels the bytes B, G, R, x:
// bottom-up is how GL counts texture rows already, and the shader puts the channels in order.

const VERTEX_SHADER = `
attribute vec2 corner;
varying vec2 uv;
void main() {
  uv = corner * 0.5 + 0.5;
  gl_Position = vec4(corner, 0.0, 1.0);
}`;

const FRAGMENT_SHADER = `
precision mediump float;
uniform sampler2D frame;
varying vec2 uv;
void main() {
  vec4 bgrx = texture2D(frame, uv);
  gl_FragColor = vec4(bgrx.b, bgrx.g, bgrx.r, 1.0);
}`;

function compile(gl, type, source) {
  const shader = gl.createShader(type);
  gl.shaderSource(shader, source);
  gl.compileShader(shader);
  if (!gl.getShaderParameter(shader, gl.COMPILE_STATUS)) throw new Error(gl.getShaderInfoLog(shader));
  return shader;
}

function program(gl) {
  const linked = gl.createProgram();
  gl.attachShader(linked, compile(gl, gl.VERTEX_SHADER, VERTEX_SHADER));
  gl.attachShader(linked, compile(gl, gl.FRAGMENT_SHADER, FRAGMENT_SHADER));
  gl.bindAttribLocation(linked, 0, 'corner');
  gl.linkProgram(linked);
  if (!gl.getProgramParameter(linked, gl.LINK_STATUS)) throw new Error(gl.getProgramInfoLog(linked));
  return linked;
}

// The largest rectangle of the frame's aspect inside the canvas, centred: x, y, width, height in
// GL's coordinates (y up).
export function fittedRectangle(canvasWidth, canvasHeight, frameWidth, frameHeight) {
  const scale = Math.min(canvasWidth / frameWidth, canvasHeight / frameHeight);
  const width = Math.round(frameWidth * scale);
  const height = Math.round(frameHeight * scale);
  return [Math.floor((canvasWidth - width) / 2), Math.floor((canvasHeight - height) / 2), width, height];
}

// Null when the browser gives no WebGL.
export function makePresenter(canvas) {
  const gl = canvas.getContext('webgl', { alpha: false, antialias: false, depth: false, stencil: false,
                                          premultipliedAlpha: false, preserveDrawingBuffer: false });
  if (!gl) return null;
  gl.useProgram(program(gl));
  gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
  gl.bufferData(gl.ARRAY_BUFFER, new Float32Array([-1, -1, 1, -1, -1, 1, 1, 1]), gl.STATIC_DRAW);
  gl.enableVertexAttribArray(0);
  gl.vertexAttribPointer(0, 2, gl.FLOAT, false, 0, 0);
  gl.bindTexture(gl.TEXTURE_2D, gl.createTexture());
  // Frames of any size: no mipmaps, no wrapping.
  for (const [name, value] of [[gl.TEXTURE_MIN_FILTER, gl.LINEAR], [gl.TEXTURE_MAG_FILTER, gl.LINEAR],
                               [gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE], [gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE]]) {
    gl.texParameteri(gl.TEXTURE_2D, name, value);
  }
  gl.pixelStorei(gl.UNPACK_ALIGNMENT, 4);

  let frameWidth = 0;
  let frameHeight = 0;
  let background = [0, 0, 0];

  function draw() {
    gl.viewport(0, 0, canvas.width, canvas.height);
    gl.clearColor(background[0], background[1], background[2], 1);
    gl.clear(gl.COLOR_BUFFER_BIT);
    if (frameWidth === 0) return;
    gl.viewport(...fittedRectangle(canvas.width, canvas.height, frameWidth, frameHeight));
    gl.drawArrays(gl.TRIANGLE_STRIP, 0, 4);
  }

  return {
    surface(width, height, colour) {
      frameWidth = width;
      frameHeight = height;
      background = [(colour >>> 16) & 255, (colour >>> 8) & 255, colour & 255].map((c) => c / 255);
      gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA, width, height, 0, gl.RGBA, gl.UNSIGNED_BYTE, null);
    },
    // rows: surface rows first .. first + count - 1, width pixels each, as the module holds them.
    present(rows, width, first, count) {
      gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, first, width, count, gl.RGBA, gl.UNSIGNED_BYTE, rows);
      draw();
    },
    // After the canvas changed size; the texture still holds the last frame.
    redraw: draw,
  };
}
