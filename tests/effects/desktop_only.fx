# Valid desktop GLSL that WebGL2 refuses: GLSL ES converts no int to float on its own (line 18).
[parameters]
worldViewProjection = "float4x4"

[[technique]]
name = "Plain"

[[technique.pass]]
vertex = '''
layout(location = 0) in vec3 position;
void main() {
    gl_Position = worldViewProjection * vec4(position, 1.0);
}
'''
fragment = '''
out vec4 color;
void main() {
    float weight = 1;
    color = vec4(weight);
}
'''
