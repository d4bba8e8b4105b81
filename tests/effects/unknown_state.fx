# A misspelt render state.
[[technique]]
name = "Typo"

[[technique.pass]]
states = { ZWRITE = false }
vertex = '''
void main() { gl_Position = vec4(0.0); }
'''
fragment = '''
out vec4 color;
void main() { color = vec4(1.0); }
'''
