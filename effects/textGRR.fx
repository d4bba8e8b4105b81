# The image overlay: a title, logo, text or credits picture drawn as glowing letters over the
# frame. The pictures carry a soft distance falloff around their shapes (1 inside, fading to 0
# outside), so a brightness threshold picks how bold the shapes are.
#   worldViewProjection  2D transform of the quad (scale and rotation about the centre)
#   textWeight     brightness threshold: 1 shows nothing, 0.95 the letters as drawn, lower bolder
#   textThickness  width of the glowing band below the threshold, in brightness (0: no glow)
#   textAlpha      opacity, clamped to 0..1
#   time           seconds; the glow's colour drifts with it
# Alpha: the pass is blended (SRCALPHA, INVSRCALPHA) over the picture its buffer already holds
# (the buffer is cleared only in depth; in the show it holds the bloom's glowing picture of the
# frame), and that buffer is drawn over the frame with its alpha. Writing the square root of the
# opacity puts the letters over that picture at about the opacity, and full opacity exactly.
code = '''
// The brightness the threshold acts on: the brightest channel, times the image's alpha.
float brightness(vec4 image) {
    return max(max(image.r, image.g), image.b) * image.a;
}
'''

[parameters]
worldViewProjection = "float4x4"
tex = "texture"
depthTex = "texture"
normTex = "texture"
time = "float"
textThickness = "float"
textWeight = "float"
textAlpha = "float"

# Bilinear within the nearest mip level: the pictures are soft falloffs that need no blend between
# levels, and a software renderer pays for a trilinear read what the rest of the pass costs.
[samplers.texSampler]
texture = "tex"
ADDRESSU = "CLAMP"
ADDRESSV = "CLAMP"
MINFILTER = "LINEAR"
MAGFILTER = "LINEAR"
MIPFILTER = "POINT"

[[technique]]
name = "text"

[[technique.pass]]
states = { ZENABLE = false, ZWRITEENABLE = false, CULLMODE = "NONE" }
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 6) in vec2 texCoord;
out vec2 uv;
void main() {
    uv = texCoord;
    vec4 p = worldViewProjection * vec4(position, 1.0);
    // A flat overlay: rotations out of the screen plane must not push it out of the depth range.
    gl_Position = vec4(p.xy, 0.5 * p.w, p.w);
}
'''
fragment = '''
in vec2 uv;
out vec4 color;
void main() {
    vec4 image = texture(texSampler, uv);
    float b = brightness(image);
    float weight = clamp(textWeight, 0.0, 1.0);
    float edge = max(fwidth(b), 0.004);
    // Above the threshold: weight 1 shows nothing, since no brightness exceeds 1.
    float core = smoothstep(weight, weight + edge, b);
    float band = max(textThickness, 0.0);
    float glow = band > 0.0 ? smoothstep(weight - band, weight, b) : 0.0;
    glow *= glow;

    // The image's own hue at full strength, so dim anti-aliased texels do not turn grey.
    vec3 body = image.rgb / max(max(max(image.r, image.g), image.b), 1e-3);
    vec3 tint = mix(vec3(1.0, 0.55, 0.2), vec3(0.3, 0.7, 1.0), 0.5 + 0.5 * sin(time * 0.8));
    vec3 glowColour = mix(body, tint, 0.65);
    float coverage = max(core, glow * 0.9);
    vec3 rgb = mix(glowColour, body, core);
    float opacity = clamp(textAlpha, 0.0, 1.0) * coverage;
    color = vec4(rgb, sqrt(opacity));
}
'''
