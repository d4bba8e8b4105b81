# Two passes that set blending, culling and depth writes; the GL tests check that End puts the
# device's states back. Vertices arrive as the render utilities send them (FVF XYZ|TEX1).
[parameters]
passColor = { type = "float4", default = [0.25, 0, 0, 0] }

[[technique]]
name = "TwoPass"

[[technique.pass]]
states = { ALPHABLENDENABLE = true, SRCBLEND = "ONE", DESTBLEND = "ONE", CULLMODE = "NONE", ZWRITEENABLE = false }
vertex = '''
layout(location = 0) in vec3 position;
void main() { gl_Position = vec4(position, 1.0); }
'''
fragment = '''
out vec4 color;
void main() { color = passColor; }
'''

[[technique.pass]]
states = { CULLMODE = "CW" }
vertex = '''
layout(location = 0) in vec3 position;
void main() { gl_Position = vec4(position, 1.0); }
'''
fragment = '''
out vec4 color;
void main() { color = vec4(0.0, 0.25, 0.0, 0.0); }
'''
