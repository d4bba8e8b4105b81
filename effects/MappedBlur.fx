# Motion blur along a per-pixel velocity map: "tex" is the picture, "blurMap" the scene's
# velocity target (0.5 + v / 2 per channel, so mid grey is at rest) and "radius" scales the
# streak, which is centred on the pixel. "depthTex" (the scene's depth target) is accepted for
# callers that bind it; the blur does not need it.

code = '''
const int kTaps = 8;
'''

[parameters]
worldViewProjection = "float4x4"
tex = "texture"
blurMap = "texture"
depthTex = "texture"
radius = { type = "float", default = 1.0 }

[samplers.pictureSampler]
texture = "tex"
MINFILTER = "LINEAR"
MAGFILTER = "LINEAR"
ADDRESSU = "CLAMP"
ADDRESSV = "CLAMP"

[samplers.velocitySampler]
texture = "blurMap"
MINFILTER = "POINT"
MAGFILTER = "POINT"
ADDRESSU = "CLAMP"
ADDRESSV = "CLAMP"

[[technique]]
name = "MappedBlur"

[[technique.pass]]
states = { ZENABLE = false, CULLMODE = "NONE" }
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 6) in vec2 texCoord;
out vec2 vUv;
void main() {
    gl_Position = worldViewProjection * vec4(position, 1.0);
    vUv = texCoord;
}
'''
fragment = '''
in vec2 vUv;
out vec4 color;
void main() {
    // Screen y grows downward while view-space y grows upward.
    vec2 velocity = (texture(velocitySampler, vUv).xy - 0.5) * 2.0 * vec2(1.0, -1.0) * radius;
    vec4 sum = texture(pictureSampler, vUv);
    float weight = 1.0;
    for (int i = 1; i < kTaps; ++i) {
        vec2 uv = vUv - velocity * (float(i) / float(kTaps - 1) - 0.5);
        sum += texture(pictureSampler, uv);
        weight += 1.0;
    }
    color = sum / weight;
}
'''
