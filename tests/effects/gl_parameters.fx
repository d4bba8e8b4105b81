# Struct, struct-array and matrix-array parameters addressed by their full names.
[structs.Material]
ambient = "float4"
diffuse = "float4"

[structs.PointLight]
position = "float3"
color = "float4"

[parameters]
material = "Material"
pointLight = "PointLight[4]"
matrixPalette = "float4x4[16]"
useLight = "bool"

[[technique]]
name = "Lit"

[[technique.pass]]
states = { CULLMODE = "NONE", ZENABLE = false }
vertex = '''
layout(location = 0) in vec3 position;
void main() { gl_Position = matrixPalette[12] * vec4(position, 1.0); }
'''
fragment = '''
out vec4 color;
void main() {
    color = material.ambient + (useLight ? pointLight[2].color : vec4(0.0));
}
'''
