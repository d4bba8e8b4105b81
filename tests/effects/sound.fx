# A small effect that uses every kind of declaration: the effect tests load it.
code = '''
vec4 lit(vec4 base, float power) {
    return base * power;
}
'''

[structs.Material]
ambient = "float4"
diffuse = "float4"
specularPower = "float"

[structs.PointLight]
position = "float3"
color = "float4"
attConst = "float"

[parameters]
worldViewProjection = "float4x4"
matrixPalette = "float4x4[4]"
material = "Material"
pointLight = "PointLight[3]"
pointLightAmount = "int"
enableTexture = "bool"
power = { type = "float", default = 0.5 }
tint = { type = "float4", default = [1, 1, 1, 1] }
weights = "float[3]"
tex = "texture"
mask = "texture"

[samplers.texSampler]
texture = "tex"
MINFILTER = "LINEAR"
MAGFILTER = "LINEAR"
ADDRESSU = "CLAMP"

[samplers.maskSampler]
texture = "mask"
MIPFILTER = "POINT"

[[technique]]
name = "Plain"

[[technique.pass]]
states = { ZWRITEENABLE = false, CULLMODE = "NONE" }
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texcoord;
out vec2 uv;
void main() {
    uv = texcoord;
    gl_Position = worldViewProjection * matrixPalette[1] * vec4(position, 1.0);
}
'''
fragment = '''
in vec2 uv;
out vec4 color;
void main() {
    vec4 base = enableTexture ? texture(texSampler, uv) : material.diffuse;
    color = lit(base * tint, power) + pointLight[2].color * float(pointLightAmount);
}
'''

[[technique.pass]]
states = { ALPHABLENDENABLE = true, SRCBLEND = "SRCALPHA", DESTBLEND = "ONE", BLENDOP = "ADD" }
vertex = '''
layout(location = 0) in vec3 position;
void main() {
    gl_Position = worldViewProjection * vec4(position, 1.0);
}
'''
fragment = '''
out vec4 color;
void main() {
    color = texture(maskSampler, vec2(0.5)) * weights[1] + material.ambient;
}
'''

[[technique]]
name = "Tube"

[[technique.pass]]
states = { ZENABLE = false, ZFUNC = "ALWAYS" }
vertex = '''
layout(location = 0) in vec3 position;
void main() {
    gl_Position = vec4(position, 1.0);
}
'''
fragment = '''
out vec4 color;
void main() {
    color = tint;
}
'''
