# The final fade: shows the picture in "tex" and takes it to black as Fadetin_ goes from 1 to 0.
#   Fadetin_             1: the picture as it is; 0: black; clamped to 0..1
#   worldViewProjection  transform of the quad (the identity)
# Alpha: the source is the text overlay's buffer, an opaque picture (the scene with the credits
# over it). The fade's own buffer is cleared only in depth and still holds an earlier picture,
# and it is drawn over the frame with its alpha: so the pass writes alpha 1 (blended SRCALPHA,
# INVSRCALPHA, which keeps alpha 1) and replaces whatever was there.
[parameters]
worldViewProjection = "float4x4"
tex = "texture"
Fadetin_ = "float"

[samplers.texSampler]
texture = "tex"
ADDRESSU = "CLAMP"
ADDRESSV = "CLAMP"
MINFILTER = "POINT"
MAGFILTER = "POINT"

[[technique]]
name = "Fadetin"

[[technique.pass]]
states = { ZENABLE = false, ZWRITEENABLE = false, CULLMODE = "NONE" }
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 6) in vec2 texCoord;
out vec2 uv;
void main() {
    uv = texCoord;
    gl_Position = worldViewProjection * vec4(position, 1.0);
}
'''
fragment = '''
in vec2 uv;
out vec4 color;
void main() {
    vec3 source = texture(texSampler, uv).rgb;
    color = vec4(clamp(Fadetin_, 0.0, 1.0) * source, 1.0);
}
'''
