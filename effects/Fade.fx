# The final fade: shows the overlay buffer in "tex" over the frame and takes the whole picture to
# black as Fadetin_ goes from 1 to 0.
#   Fadetin_             1: the overlay as it is; 0: opaque black; clamped to 0..1
#   worldViewProjection  transform of the quad (the identity)
# Alpha: the source buffer holds an overlay with its opacity in alpha and its colour weighted by
# the square root of it (see textGRR.fx). This pass is blended into a buffer cleared to
# transparent black and that buffer over the frame, both with (SRCALPHA, INVSRCALPHA); the alpha
# and colour written here make the frame show  amount * (overlay over frame).  An opaque source
# passes through unchanged at 1.
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
    vec4 source = texture(texSampler, uv);
    float amount = clamp(Fadetin_, 0.0, 1.0);
    float opacity = clamp(source.a, 0.0, 1.0);
    // On screen the buffer's alpha a covers the frame by a^2: keep amount * (1 - opacity) of it.
    float a = sqrt(1.0 - amount * (1.0 - opacity));
    vec3 rgb = amount * source.rgb * opacity / max(a * a * a, 1e-4);
    color = vec4(min(rgb, vec3(1.0)), a);
}
'''
