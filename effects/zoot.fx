# The last part's background: a fast, oscillating credits tunnel, ray-traced per pixel. The ray
# hits a cylinder of radius 1 around the world's z axis; the star image rushes along it, the
# tunnel corkscrews back and forth, and neon rings of cycling colour race towards the eye.
#   wvp      inverse view matrix (row-vector layout): view-space d goes to world as wvp * (d, 0)
#   uvAdd    added to (u, v); constant during this part
#   uScale   0.001 .. 3: the texture's density along the tunnel on a logarithmic scale
#   time     seconds; the rush, the corkscrew and the colour cycle
code = '''
const float TAU = 6.2831853;
const float TAN_HALF_FOV = 0.55;

// World-space ray through the pixel at ndc (x right, y up) for the inverse view in wvp.
void eyeRay(vec2 ndc, float aspect, out vec3 origin, out vec3 dir) {
    vec3 view = vec3(ndc.x * TAN_HALF_FOV * aspect, ndc.y * TAN_HALF_FOV, 1.0);
    dir = normalize((wvp * vec4(view, 0.0)).xyz);
    origin = (wvp * vec4(0.0, 0.0, 0.0, 1.0)).xyz;
}

// Distances along the unit ray to the cylinder x^2 + y^2 = r^2 (near, far); far < 0 on a miss.
// A ray along the axis meets the wall only far away, which the fog turns black.
vec2 cylinderHits(vec3 o, vec3 d, float r) {
    float a = dot(d.xy, d.xy);
    if (a < 1e-7) {
        return vec2(1e4);
    }
    float b = dot(o.xy, d.xy);
    float c = dot(o.xy, o.xy) - r * r;
    float disc = b * b - a * c;
    if (disc < 0.0) {
        return vec2(-1.0);
    }
    float s = sqrt(disc);
    return vec2(-b - s, -b + s) / a;
}

// uScale mapped onto 0.09 (0.001) .. 1 (3.0), evenly per decade.
float scaleAmount() {
    return clamp(log2(1.0 + max(uScale, 0.0) * 1000.0) / log2(3001.0), 0.0, 1.0);
}
'''

[parameters]
worldViewProjection = "float4x4"
wvp = "float4x4"
ortho = "float4x4"
uvAdd = "float2"
uScale = "float"
time = "float"
tex = "texture"
depthTex = "texture"
normTex = "texture"

# Units follow the samplers' names. The render utilities set sampler 0 to CLAMP after the pass
# has begun, so the wrapping tube sampler must not be unit 0: the scene's buffers (declared for
# the tracer, not read here) take units 0 and 1.
[samplers.depthSampler]
texture = "depthTex"

[samplers.normSampler]
texture = "normTex"

# Bilinear within the nearest mip level: the steps between levels do not show on these soft
# pictures, and a software renderer pays for the blend between two levels in every pixel.
[samplers.tubeSampler]
texture = "tex"
ADDRESSU = "WRAP"
ADDRESSV = "WRAP"
MINFILTER = "LINEAR"
MAGFILTER = "LINEAR"
MIPFILTER = "POINT"

[[technique]]
name = "Tube"

[[technique.pass]]
states = { ZENABLE = false, ZWRITEENABLE = false, CULLMODE = "NONE" }
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 6) in vec2 texCoord;
out vec2 ndc;
out vec2 uv;
void main() {
    ndc = position.xy;
    uv = texCoord;
    gl_Position = worldViewProjection * vec4(position, 1.0);
}
'''
fragment = '''
in vec2 ndc;
in vec2 uv;
out vec4 color;

// The picture's aspect from the quad's texture coordinates, which span it exactly once.
float pictureAspect(vec2 uv) {
    return abs(dFdy(uv.y)) / max(abs(dFdx(uv.x)), 1e-6);
}

// Screen derivatives (x, y) of a coordinate that wraps, ignoring its jump by a whole turn, so the
// seam of the angle keeps the right mip level.
vec2 wrapDerivatives(float u) {
    float w = fract(u + 0.5);
    return vec2(min(abs(dFdx(u)), abs(dFdx(w))), min(abs(dFdy(u)), abs(dFdy(w))));
}

vec3 hue(float h) {
    return clamp(abs(fract(h + vec3(0.0, 2.0 / 3.0, 1.0 / 3.0)) * 6.0 - 3.0) - 1.0, 0.0, 1.0);
}

void main() {
    vec3 origin;
    vec3 dir;
    eyeRay(ndc, pictureAspect(uv), origin, dir);
    float dist = cylinderHits(origin, dir, 1.0).y;
    // An eye outside the tube sees nothing: as far as the fog's end. No early return, so every
    // pixel keeps the derivatives its neighbours take.
    dist = dist < 0.0 ? 1e4 : dist;
    vec3 hit = origin + dir * dist;
    float s = scaleAmount();
    float twist = sin(time * 1.7) * 0.35;
    float u = atan(hit.y, hit.x) / TAU * 4.0 + hit.z * twist + uvAdd.x;
    float v = hit.z * mix(0.25, 1.2, s) - time * 0.9 + uvAdd.y * 0.02;
    vec2 du = wrapDerivatives(u);
    vec3 stars = textureGrad(tubeSampler, vec2(u, v), vec2(du.x, dFdx(v)), vec2(du.y, dFdy(v))).rgb;

    float phase = hit.z * 5.0 - time * 14.0;
    // Rings fade to their average where they pack closer than a pixel.
    float ringWidth = fwidth(phase);
    float ring = pow(0.5 + 0.5 * cos(phase), 12.0);
    ring = mix(ring, 0.2, clamp(ringWidth - 0.5, 0.0, 1.0));
    vec3 neon = hue(hit.z * 0.12 - time * 0.2) * ring * 0.6;
    float fog = exp(-dist * 0.2);
    vec3 rgb = (stars * vec3(0.8, 0.85, 1.1) + neon) * fog;
    color = vec4(rgb, 1.0);
}
'''
