# One texture read through two samplers that differ in their address mode, and a pass that
# shows the texture coordinates of the render utilities' quad (FVF XYZ|TEX1: TEXCOORD0 at
# location 6).
[parameters]
tex = "texture"
uvScale = { type = "float", default = 2.0 }

[samplers.clampSampler]
texture = "tex"
ADDRESSU = "CLAMP"
ADDRESSV = "CLAMP"
MINFILTER = "POINT"
MAGFILTER = "POINT"

[samplers.wrapSampler]
texture = "tex"
ADDRESSU = "WRAP"
ADDRESSV = "WRAP"
MINFILTER = "POINT"
MAGFILTER = "POINT"

[[technique]]
name = "Clamp"

[[technique.pass]]
states = { CULLMODE = "NONE", ZENABLE = false }
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 6) in vec2 texCoord;
out vec2 uv;
void main() { uv = texCoord * uvScale; gl_Position = vec4(position, 1.0); }
'''
fragment = '''
in vec2 uv;
out vec4 color;
void main() { color = texture(clampSampler, uv); }
'''

[[technique]]
name = "Wrap"

[[technique.pass]]
states = { CULLMODE = "NONE", ZENABLE = false }
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 6) in vec2 texCoord;
out vec2 uv;
void main() { uv = texCoord * uvScale; gl_Position = vec4(position, 1.0); }
'''
fragment = '''
in vec2 uv;
out vec4 color;
void main() { color = texture(wrapSampler, uv); }
'''

[[technique]]
name = "TexCoord"

[[technique.pass]]
states = { CULLMODE = "NONE", ZENABLE = false }
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 6) in vec2 texCoord;
out vec2 uv;
void main() { uv = texCoord; gl_Position = vec4(position, 1.0); }
'''
fragment = '''
in vec2 uv;
out vec4 color;
void main() { color = vec4(uv, 0.0, 1.0); }
'''
