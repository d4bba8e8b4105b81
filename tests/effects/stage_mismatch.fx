# The fragment stage reads uv as a vec2 while the vertex stage writes a vec3.
[[technique]]
name = "Mismatch"

[[technique.pass]]
vertex = '''
out vec3 uv;
void main() {
    uv = vec3(0.0);
    gl_Position = vec4(0.0, 0.0, 0.0, 1.0);
}
'''
fragment = '''
in vec2 uv;
out vec4 color;
void main() {
    color = vec4(uv, 0.0, 1.0);
}
'''
