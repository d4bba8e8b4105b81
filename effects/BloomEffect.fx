# Glow: pass 0 draws into a cleared intermediate target the bright parts of "tex" (each colour
# raised to "power", so a high power keeps only the brightest); pass 1 blurs that image over a
# disc of "radius" (in texture coordinates; the centre and a ring of four bilinear taps) and adds
# it, scaled by "alpha", onto the target below. Raising to the power once per pixel, before the
# blur, keeps the costly logarithms and exponentials out of the taps; texture reads are what a
# software renderer pays most for, so the disc has as few as still spread the glow on all sides.
# Both passes shade the render utilities' full-screen quad (FVF XYZ|TEX1), whose blend states
# (source alpha, add, one) apply.

code = '''
const int kTaps = 4;
// The ring at the radius that splits the disc into two equal areas: with the centre it stands
// for the whole disc.
const float kRingScale = 0.70710678;
// Radii beyond this would only sample the clamped border.
const float kMaxRadius = 0.5;

vec3 brightPart(vec2 uv) {
    vec3 c = max(texture(sourceSampler, uv).rgb, vec3(0.0));
    return pow(c, vec3(max(power, 0.01)));
}

vec3 discBlur(vec2 uv) {
    float ringRadius = clamp(radius, 0.0, kMaxRadius) * kRingScale;
    vec3 sum = texture(sourceSampler, uv).rgb;
    for (int tap = 0; tap < kTaps; ++tap) {
        float angle = 6.2831853 * (float(tap) + 0.5) / float(kTaps);
        sum += texture(sourceSampler, uv + ringRadius * vec2(cos(angle), sin(angle))).rgb;
    }
    return sum / float(kTaps + 1);
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
