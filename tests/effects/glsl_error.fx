# The fragment stage uses a name nobody declared (line 17).
[parameters]
tint = "float4"

[[technique]]
name = "Broken"

[[technique.pass]]
vertex = '''
void main() {
    gl_Position = vec4(0.0, 0.0, 0.0, 1.0);
}
'''
fragment = '''
out vec4 color;
void main() {
    color = tint * brightness;
}
'''
