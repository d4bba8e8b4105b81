# Glow: pass 0 draws into a cleared intermediate target the bright parts of "tex" (each colour
# raised to "power", so a high power keeps only the brightest); pass 1 blurs that image over a
# disc of "radius" (in texture coordinates; the centre and two rings of six bilinear taps) and
# adds it, scaled by "alpha", onto the target below. Raising to the power once per pixel, before
# the blur, keeps the costly logarithms and exponentials out of the thirteen taps.
# Both passes shade the render utilities' full-screen quad (FVF XYZ|TEX1), whose blend states
# (source alpha, add, one) apply.

code = '''
const int kRings = 2;
const int kTapsPerRing = 6;
// Radii beyond this would only sample the clamped border.
const float kMaxRadius = 0.5;

vec3 brightPart(vec2 uv) {
    vec3 c = max(texture(sourceSampler, uv).rgb, vec3(0.0));
    return pow(c, vec3(max(power, 0.01)));
}

vec3 discBlur(vec2 uv) {
    float r = clamp(radius, 0.0, kMaxRadius);
    vec3 sum = texture(sourceSampler, uv).rgb;
    float weight = 1.0;
    for (int ring = 1; ring <= kRings; ++ring) {
        float ringRadius = r * float(ring) / float(kRings);
        float ringWeight = 1.0 - float(ring) / float(kRings + 1);
        for (int tap = 0; tap < kTapsPerRing; ++tap) {
            float angle = 6.2831853 * (float(tap) + 0.5 * float(ring)) / float(kTapsPerRing);
            vec2 offset = ringRadius * vec2(cos(angle), sin(angle));
            sum += texture(sourceSampler, uv + offset).rgb * ringWeight;
            weight += ringWeight;
        }
    }
    return sum / weight;
}
'''

[parameters]
worldViewProjection = "float4x4"
tex = "texture"
radius = { type = "float", default = 0.01 }
power = { type = "float", default = 2.0 }
alpha = { type = "float", default = 1.0 }

[samplers.sourceSampler]
texture = "tex"
MINFILTER = "LINEAR"
MAGFILTER = "LINEAR"
ADDRESSU = "CLAMP"
ADDRESSV = "CLAMP"

[[technique]]
name = "BloomEffect"

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
    color = vec4(brightPart(vUv), 1.0);
}
'''

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
    color = vec4(discBlur(vUv) * max(alpha, 0.0), 1.0);
}
'''
