# Glow. Pass 0 draws the source picture ("tex") with a glow around its bright parts into a
# cleared intermediate target; pass 1 adds that glowing picture onto the target below.
#
# Why pass 0 carries the whole picture: the overlay chain renders the text overlay, and in the
# last part the fade, into pooled buffers cleared only in depth, and the pool hands them the
# bloom's intermediate target of the same frame. That picture is what reaches the screen under
# the letters, drawn over the frame with its alpha. So pass 0 writes the scene itself, brightened
# by its glow, at alpha 1 (blended SRCALPHA, ONE into a buffer cleared to 0, which keeps alpha 1),
# and a dark scene stays as it is.
#
#   power   bright parts: each pixel's brightest channel raised to it (high: only the brightest)
#   radius  spread of the glow in texture coordinates (the centre and four taps on a ring);
#           beyond kMaxSpread the ring stays there and the glow floods the whole picture
#           instead, lifting it by its surroundings in proportion to the excess
#   alpha   strength of the glow around bright parts (not of the flood); the glow saturates
#           softly and never adds more than kMaxGlow
# The glow is combined as a screen (1 - (1 - scene)(1 - glow)), so it never clips a dark picture
# to white. Texture reads are what a software renderer pays most for: five per pixel in pass 0,
# one in pass 1, and the power once per read.
# Both passes shade the render utilities' full-screen quad (FVF XYZ|TEX1), whose blend states
# (source alpha, add, one) apply.

code = '''
const int kTaps = 4;
// The ring at the radius that splits the disc into two equal areas: with the centre it stands
// for the whole disc.
const float kRingScale = 0.70710678;
// Wider rings would show their taps as copies of bright shapes rather than as a glow.
const float kMaxSpread = 0.15;
// The centre's share of the glow; the ring shares the rest.
const float kCentreWeight = 0.4;
// How fast the flood beyond kMaxSpread grows, per unit of excess radius.
const float kFloodGain = 0.15;
const float kMaxGlow = 0.85;

// The bright part of a colour: its hue at the brightness of its brightest channel to the power.
vec3 brightPart(vec3 c) {
    c = max(c, vec3(0.0));
    float m = max(max(c.r, c.g), c.b);
    return c / max(m, 1e-4) * pow(m, max(power, 0.01));
}

// The ring's radius in texture coordinates, horizontally and vertically (round on screen).
vec2 ringRadius(vec2 targetSize) {
    return clamp(radius, 0.0, kMaxSpread) * kRingScale *
           vec2(targetSize.y / max(targetSize.x, 1.0), 1.0);
}

// ring: ringRadius() of the source. Per pixel: the centre and four taps on the diagonals.
vec3 glowAround(vec2 uv, vec3 centre, vec2 ring) {
    vec3 bright = brightPart(centre) * kCentreWeight;
    vec3 local = vec3(0.0);
    for (int tap = 0; tap < kTaps; ++tap) {
        vec2 direction = vec2(tap < 2 ? 1.0 : -1.0, (tap & 1) == 0 ? 1.0 : -1.0);
        vec3 c = max(texture(sourceSampler, uv + ring * direction).rgb, vec3(0.0));
        bright += brightPart(c) * ((1.0 - kCentreWeight) / float(kTaps));
        local += c;
    }
    // The flood lifts every part of the picture by its surroundings, not only the bright ones.
    vec3 flood = local * (kFloodGain / float(kTaps)) * max(radius - kMaxSpread, 0.0);
    vec3 strength = bright * max(alpha, 0.0) + flood;
    // Saturates softly towards kMaxGlow.
    return kMaxGlow * strength / (vec3(1.0) + strength);
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
flat out vec2 vRing;
void main() {
    gl_Position = worldViewProjection * vec4(position, 1.0);
    vUv = texCoord;
    vRing = ringRadius(vec2(textureSize(sourceSampler, 0)));
}
'''
fragment = '''
in vec2 vUv;
flat in vec2 vRing;
out vec4 color;
void main() {
    vec3 scene = clamp(texture(sourceSampler, vUv).rgb, 0.0, 1.0);
    vec3 glow = glowAround(vUv, scene, vRing);
    color = vec4(vec3(1.0) - (vec3(1.0) - scene) * (vec3(1.0) - glow), 1.0);
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
    color = vec4(texture(sourceSampler, vUv).rgb, 1.0);
}
'''
