# The surface effect of scene geometry. Lighting is done in the object's own space, in its own
# units. The material binding gives a point light's position as its world position brought into
# the instance's local frame, without the transforms of the instance's parents. In the show the
# model's instances sit under a root scaled by 0.005 and the lights move within 5 units of the
# world's origin: their positions arrive as the same numbers in model units, so the lights burn
# near the middle of the ramp, at most 5 of its units off its axis, and flicker there every frame.
# Distances and attenuation are measured in model units, as the show's attenuation factors
# (8.01 constant, 0.1 linear, 0.001 quadratic) expect of a model some 480 units long. The eye and
# the directional light are brought into object space through the full inverse world matrix.
#
# Outputs: target 0 colour; target 1 view-space motion (xy of velocityTransform applied to the
# position, times velocityScale, stored as 0.5 + v / 2); target 2 view-space depth divided by the
# far plane; target 3 the view-space normal stored as 0.5 + n / 2. The scene clears targets 1 to
# 3 to mid grey, which reads as "no motion, no normal".

code = '''
const int kMaxPointLights = 10;
const int kPaletteSize = 32;

// Attenuation denominators at or below this count as this (a light with every factor 0).
const float kMinAttenuation = 1e-4;
// Point lights are scaled by this: with the show's constant attenuation of about 8 a light's
// full colour reaches the surfaces next to it, a third of it 100 units away.
const float kPointLightGain = 8.0;

struct SurfacePoint {
    vec3 position;
    vec3 normal;
    vec2 uv;
    vec3 tangent;
    vec3 binormal;
};

// The far plane of a left-handed perspective projection (m22 = f / (f - n), m32 = -n f / (f - n));
// the matrix arrives untransposed, so m[r][c] of the row-vector layout is projection[c][r].
float farPlane() {
    float m22 = projection[2][2];
    float m32 = projection[3][2];
    return abs(1.0 - m22) > 1e-6 ? m32 / (1.0 - m22) : 100.0;
}

mat4 paletteEntry(float index) {
    return matrixPalette[clamp(int(index), 0, kPaletteSize - 1)];
}

// Two bones per vertex: the first from blend-index set 0 with the blend weight, the second from
// set 1 with the rest of the weight.
mat4 skinMatrix(float weight, vec4 indices0, vec4 indices1) {
    return paletteEntry(indices0.x) * weight + paletteEntry(indices1.x) * (1.0 - weight);
}

vec3 objectEye() {
    return (worldInv * vec4(eyePos, 1.0)).xyz;
}

vec3 objectDirection(vec3 worldDirection) {
    return mat3(worldInv) * worldDirection;
}

vec2 parallaxUv(SurfacePoint s) {
    vec3 toEye = normalize(objectEye() - s.position);
    vec3 t = normalize(s.tangent);
    vec3 b = normalize(s.binormal);
    vec3 n = normalize(s.normal);
    vec3 eyeTangent = vec3(dot(toEye, t), dot(toEye, b), dot(toEye, n));
    float height = texture(heightSampler, s.uv).r * parallaxHeightScale - 0.5 * parallaxHeightScale;
    return s.uv + eyeTangent.xy * height / max(eyeTangent.z, 0.25);
}

vec3 shadingNormal(SurfacePoint s) {
    vec3 n = normalize(s.normal);
    if (!enableNormalmap) {
        return n;
    }
    vec3 bump = texture(normalSampler, s.uv).xyz * 2.0 - 1.0;
    bump.xy *= material.bumpiness;
    vec3 t = s.tangent;
    vec3 b = s.binormal;
    // Without tangent frames the map cannot be oriented; the plain normal is the sound choice.
    if (dot(t, t) < 1e-8 || dot(b, b) < 1e-8) {
        return n;
    }
    return normalize(normalize(t) * bump.x + normalize(b) * bump.y + n * bump.z);
}

vec3 blinnPhong(vec3 n, vec3 l, vec3 v, vec3 lightColor) {
    float nl = max(dot(n, l), 0.0);
    vec3 h = normalize(l + v);
    float spec = nl > 0.0 ? pow(max(dot(n, h), 0.0), max(material.specularPower, 1e-3)) : 0.0;
    return lightColor * (material.diffuse.rgb * nl + material.specular.rgb * spec);
}

// Beckmann distribution, Schlick's Fresnel from the reflectance, Cook and Torrance's masking.
vec3 cookTorrance(vec3 n, vec3 l, vec3 v, vec3 lightColor) {
    float nl = max(dot(n, l), 0.0);
    if (nl <= 0.0) {
        return vec3(0.0);
    }
    vec3 h = normalize(l + v);
    float nh = max(dot(n, h), 1e-4);
    float nv = max(dot(n, v), 1e-4);
    float vh = max(dot(v, h), 1e-4);
    float m2 = max(material.roughness * material.roughness, 1e-4);
    float nh2 = nh * nh;
    float d = exp((nh2 - 1.0) / (m2 * nh2)) / (3.14159265 * m2 * nh2 * nh2);
    float f = material.reflectance + (1.0 - material.reflectance) * pow(1.0 - vh, 5.0);
    float g = min(1.0, min(2.0 * nh * nv / vh, 2.0 * nh * nl / vh));
    float spec = d * f * g / (4.0 * nv * nl);
    return lightColor * nl * (material.diffuse.rgb + material.specular.rgb * spec);
}

vec3 lightTerm(vec3 n, vec3 l, vec3 v, vec3 lightColor, bool useCookTorrance) {
    return useCookTorrance ? cookTorrance(n, l, v, lightColor) : blinnPhong(n, l, v, lightColor);
}

vec4 shadeSurface(SurfacePoint s, bool useCookTorrance, bool parallaxVariant) {
    if (parallaxVariant && enableParallax) {
        s.uv = parallaxUv(s);
    }
    vec3 n = shadingNormal(s);
    vec3 v = normalize(objectEye() - s.position);
    vec3 color = material.ambient.rgb;
    if (enableDirectionallight) {
        vec3 l = normalize(objectDirection(directionallight.dir));
        color += lightTerm(n, l, v, directionallight.color.rgb, useCookTorrance);
    }
    int lights = clamp(pointLightAmount, 0, kMaxPointLights);
    for (int i = 0; i < lights; ++i) {
        vec3 toLight = pointLight[i].position - s.position;
        float distance = length(toLight);
        float denominator = pointLight[i].attConst + pointLight[i].attLin * distance +
                            pointLight[i].attQuad * distance * distance;
        float attenuation = kPointLightGain / max(denominator, kMinAttenuation);
        vec3 l = distance > 0.0 ? toLight / distance : n;
        color += lightTerm(n, l, v, pointLight[i].color.rgb * attenuation, useCookTorrance);
    }
    vec4 albedo = enableDiffuseTexture ? texture(texSampler, s.uv) : vec4(1.0);
    return vec4(color * albedo.rgb, material.diffuse.a * albedo.a);
}
'''

[structs.Material]
ambient = "float4"
diffuse = "float4"
specular = "float4"
specularPower = "float"
roughness = "float"
reflectance = "float"
bumpiness = "float"

[structs.DirectionalLight]
dir = "float3"
color = "float4"

[structs.PointLight]
position = "float3"
color = "float4"
attConst = "float"
attLin = "float"
attQuad = "float"

[parameters]
worldViewProjection = "float4x4"
worldViewProjInv = "float4x4"
world = "float4x4"
viewProjection = "float4x4"
worldView = "float4x4"
worldViewInv = "float4x4"
worldInv = "float4x4"
view = "float4x4"
viewInv = "float4x4"
projection = "float4x4"
projectionInv = "float4x4"
eyePos = "float3"
velocityTransform = "float4x4"
velocityScale = { type = "float", default = 1.0 }
matrixPalette = "float4x4[32]"
deltaTime = "float"
time = "float"
material = "Material"
parallaxHeightScale = { type = "float", default = 0.1 }
enableParallax = "bool"
enableDiffuseTexture = "bool"
enableNormalmap = "bool"
enableDirectionallight = "bool"
directionallight = "DirectionalLight"
pointLightAmount = "int"
pointLight = "PointLight[10]"
tex = "texture"
normalmap = "texture"
depthmap = "texture"
depthTex = "texture"

[samplers.texSampler]
texture = "tex"
MINFILTER = "LINEAR"
MAGFILTER = "LINEAR"
MIPFILTER = "LINEAR"

[samplers.normalSampler]
texture = "normalmap"
MINFILTER = "LINEAR"
MAGFILTER = "LINEAR"
MIPFILTER = "LINEAR"

[samplers.heightSampler]
texture = "depthmap"
MINFILTER = "LINEAR"
MAGFILTER = "LINEAR"
MIPFILTER = "LINEAR"

[samplers.sceneDepthSampler]
texture = "depthTex"
MINFILTER = "POINT"
MAGFILTER = "POINT"
ADDRESSU = "CLAMP"
ADDRESSV = "CLAMP"

[[technique]]
name = "SolidObjectBlinnPhong"

[[technique.pass]]
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 1) in float blendWeight;
layout(location = 2) in vec4 blendIndices0;
layout(location = 3) in vec3 normal;
layout(location = 6) in vec2 texCoord;
layout(location = 8) in vec3 tangent;
layout(location = 9) in vec3 binormal;
layout(location = 14) in vec4 blendIndices1;
out vec3 vPosition;
out vec3 vNormal;
out vec2 vUv;
out vec3 vTangent;
out vec3 vBinormal;
out vec3 vViewPosition;
out vec3 vViewNormal;
out vec2 vMotion;
void main() {
    vec4 p = vec4(position, 1.0);
    vec3 n = normal;
    gl_Position = worldViewProjection * p;
    vPosition = p.xyz;
    vNormal = n;
    vUv = texCoord;
    vTangent = tangent;
    vBinormal = binormal;
    vViewPosition = (worldView * p).xyz;
    vViewNormal = (vec4(n, 0.0) * worldViewInv).xyz;
    vMotion = (velocityTransform * p).xy * velocityScale;
}
'''
fragment = '''
in vec3 vPosition;
in vec3 vNormal;
in vec2 vUv;
in vec3 vTangent;
in vec3 vBinormal;
in vec3 vViewPosition;
in vec3 vViewNormal;
in vec2 vMotion;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outVelocity;
layout(location = 2) out vec4 outDepth;
layout(location = 3) out vec4 outNormal;
void main() {
    SurfacePoint s = SurfacePoint(vPosition, vNormal, vUv, vTangent, vBinormal);
    outColor = shadeSurface(s, false, false);
    outVelocity = vec4(0.5 + 0.5 * vMotion, 0.5, 1.0);
    outDepth = vec4(vec3(vViewPosition.z / farPlane()), 1.0);
    vec3 n = length(vViewNormal) > 0.0 ? normalize(vViewNormal) : vec3(0.0);
    outNormal = vec4(0.5 + 0.5 * n, 1.0);
}
'''

[[technique]]
name = "SolidObjectBlinnPhongSkinned"

[[technique.pass]]
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 1) in float blendWeight;
layout(location = 2) in vec4 blendIndices0;
layout(location = 3) in vec3 normal;
layout(location = 6) in vec2 texCoord;
layout(location = 8) in vec3 tangent;
layout(location = 9) in vec3 binormal;
layout(location = 14) in vec4 blendIndices1;
out vec3 vPosition;
out vec3 vNormal;
out vec2 vUv;
out vec3 vTangent;
out vec3 vBinormal;
out vec3 vViewPosition;
out vec3 vViewNormal;
out vec2 vMotion;
void main() {
    vec4 p = vec4(position, 1.0);
    vec3 n = normal;
    mat4 skin = skinMatrix(blendWeight, blendIndices0, blendIndices1);
    p = skin * p;
    n = mat3(skin) * n;
    gl_Position = worldViewProjection * p;
    vPosition = p.xyz;
    vNormal = n;
    vUv = texCoord;
    vTangent = tangent;
    vBinormal = binormal;
    vViewPosition = (worldView * p).xyz;
    vViewNormal = (vec4(n, 0.0) * worldViewInv).xyz;
    vMotion = (velocityTransform * p).xy * velocityScale;
}
'''
fragment = '''
in vec3 vPosition;
in vec3 vNormal;
in vec2 vUv;
in vec3 vTangent;
in vec3 vBinormal;
in vec3 vViewPosition;
in vec3 vViewNormal;
in vec2 vMotion;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outVelocity;
layout(location = 2) out vec4 outDepth;
layout(location = 3) out vec4 outNormal;
void main() {
    SurfacePoint s = SurfacePoint(vPosition, vNormal, vUv, vTangent, vBinormal);
    outColor = shadeSurface(s, false, false);
    outVelocity = vec4(0.5 + 0.5 * vMotion, 0.5, 1.0);
    outDepth = vec4(vec3(vViewPosition.z / farPlane()), 1.0);
    vec3 n = length(vViewNormal) > 0.0 ? normalize(vViewNormal) : vec3(0.0);
    outNormal = vec4(0.5 + 0.5 * n, 1.0);
}
'''

[[technique]]
name = "SolidObjectBlinnPhongParallax"

[[technique.pass]]
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 1) in float blendWeight;
layout(location = 2) in vec4 blendIndices0;
layout(location = 3) in vec3 normal;
layout(location = 6) in vec2 texCoord;
layout(location = 8) in vec3 tangent;
layout(location = 9) in vec3 binormal;
layout(location = 14) in vec4 blendIndices1;
out vec3 vPosition;
out vec3 vNormal;
out vec2 vUv;
out vec3 vTangent;
out vec3 vBinormal;
out vec3 vViewPosition;
out vec3 vViewNormal;
out vec2 vMotion;
void main() {
    vec4 p = vec4(position, 1.0);
    vec3 n = normal;
    gl_Position = worldViewProjection * p;
    vPosition = p.xyz;
    vNormal = n;
    vUv = texCoord;
    vTangent = tangent;
    vBinormal = binormal;
    vViewPosition = (worldView * p).xyz;
    vViewNormal = (vec4(n, 0.0) * worldViewInv).xyz;
    vMotion = (velocityTransform * p).xy * velocityScale;
}
'''
fragment = '''
in vec3 vPosition;
in vec3 vNormal;
in vec2 vUv;
in vec3 vTangent;
in vec3 vBinormal;
in vec3 vViewPosition;
in vec3 vViewNormal;
in vec2 vMotion;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outVelocity;
layout(location = 2) out vec4 outDepth;
layout(location = 3) out vec4 outNormal;
void main() {
    SurfacePoint s = SurfacePoint(vPosition, vNormal, vUv, vTangent, vBinormal);
    outColor = shadeSurface(s, false, true);
    outVelocity = vec4(0.5 + 0.5 * vMotion, 0.5, 1.0);
    outDepth = vec4(vec3(vViewPosition.z / farPlane()), 1.0);
    vec3 n = length(vViewNormal) > 0.0 ? normalize(vViewNormal) : vec3(0.0);
    outNormal = vec4(0.5 + 0.5 * n, 1.0);
}
'''

[[technique]]
name = "SolidObjectBlinnPhongParallaxSkinned"

[[technique.pass]]
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 1) in float blendWeight;
layout(location = 2) in vec4 blendIndices0;
layout(location = 3) in vec3 normal;
layout(location = 6) in vec2 texCoord;
layout(location = 8) in vec3 tangent;
layout(location = 9) in vec3 binormal;
layout(location = 14) in vec4 blendIndices1;
out vec3 vPosition;
out vec3 vNormal;
out vec2 vUv;
out vec3 vTangent;
out vec3 vBinormal;
out vec3 vViewPosition;
out vec3 vViewNormal;
out vec2 vMotion;
void main() {
    vec4 p = vec4(position, 1.0);
    vec3 n = normal;
    mat4 skin = skinMatrix(blendWeight, blendIndices0, blendIndices1);
    p = skin * p;
    n = mat3(skin) * n;
    gl_Position = worldViewProjection * p;
    vPosition = p.xyz;
    vNormal = n;
    vUv = texCoord;
    vTangent = tangent;
    vBinormal = binormal;
    vViewPosition = (worldView * p).xyz;
    vViewNormal = (vec4(n, 0.0) * worldViewInv).xyz;
    vMotion = (velocityTransform * p).xy * velocityScale;
}
'''
fragment = '''
in vec3 vPosition;
in vec3 vNormal;
in vec2 vUv;
in vec3 vTangent;
in vec3 vBinormal;
in vec3 vViewPosition;
in vec3 vViewNormal;
in vec2 vMotion;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outVelocity;
layout(location = 2) out vec4 outDepth;
layout(location = 3) out vec4 outNormal;
void main() {
    SurfacePoint s = SurfacePoint(vPosition, vNormal, vUv, vTangent, vBinormal);
    outColor = shadeSurface(s, false, true);
    outVelocity = vec4(0.5 + 0.5 * vMotion, 0.5, 1.0);
    outDepth = vec4(vec3(vViewPosition.z / farPlane()), 1.0);
    vec3 n = length(vViewNormal) > 0.0 ? normalize(vViewNormal) : vec3(0.0);
    outNormal = vec4(0.5 + 0.5 * n, 1.0);
}
'''

[[technique]]
name = "SolidObjectCookTorrance"

[[technique.pass]]
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 1) in float blendWeight;
layout(location = 2) in vec4 blendIndices0;
layout(location = 3) in vec3 normal;
layout(location = 6) in vec2 texCoord;
layout(location = 8) in vec3 tangent;
layout(location = 9) in vec3 binormal;
layout(location = 14) in vec4 blendIndices1;
out vec3 vPosition;
out vec3 vNormal;
out vec2 vUv;
out vec3 vTangent;
out vec3 vBinormal;
out vec3 vViewPosition;
out vec3 vViewNormal;
out vec2 vMotion;
void main() {
    vec4 p = vec4(position, 1.0);
    vec3 n = normal;
    gl_Position = worldViewProjection * p;
    vPosition = p.xyz;
    vNormal = n;
    vUv = texCoord;
    vTangent = tangent;
    vBinormal = binormal;
    vViewPosition = (worldView * p).xyz;
    vViewNormal = (vec4(n, 0.0) * worldViewInv).xyz;
    vMotion = (velocityTransform * p).xy * velocityScale;
}
'''
fragment = '''
in vec3 vPosition;
in vec3 vNormal;
in vec2 vUv;
in vec3 vTangent;
in vec3 vBinormal;
in vec3 vViewPosition;
in vec3 vViewNormal;
in vec2 vMotion;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outVelocity;
layout(location = 2) out vec4 outDepth;
layout(location = 3) out vec4 outNormal;
void main() {
    SurfacePoint s = SurfacePoint(vPosition, vNormal, vUv, vTangent, vBinormal);
    outColor = shadeSurface(s, true, false);
    outVelocity = vec4(0.5 + 0.5 * vMotion, 0.5, 1.0);
    outDepth = vec4(vec3(vViewPosition.z / farPlane()), 1.0);
    vec3 n = length(vViewNormal) > 0.0 ? normalize(vViewNormal) : vec3(0.0);
    outNormal = vec4(0.5 + 0.5 * n, 1.0);
}
'''

[[technique]]
name = "SolidObjectCookTorranceSkinned"

[[technique.pass]]
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 1) in float blendWeight;
layout(location = 2) in vec4 blendIndices0;
layout(location = 3) in vec3 normal;
layout(location = 6) in vec2 texCoord;
layout(location = 8) in vec3 tangent;
layout(location = 9) in vec3 binormal;
layout(location = 14) in vec4 blendIndices1;
out vec3 vPosition;
out vec3 vNormal;
out vec2 vUv;
out vec3 vTangent;
out vec3 vBinormal;
out vec3 vViewPosition;
out vec3 vViewNormal;
out vec2 vMotion;
void main() {
    vec4 p = vec4(position, 1.0);
    vec3 n = normal;
    mat4 skin = skinMatrix(blendWeight, blendIndices0, blendIndices1);
    p = skin * p;
    n = mat3(skin) * n;
    gl_Position = worldViewProjection * p;
    vPosition = p.xyz;
    vNormal = n;
    vUv = texCoord;
    vTangent = tangent;
    vBinormal = binormal;
    vViewPosition = (worldView * p).xyz;
    vViewNormal = (vec4(n, 0.0) * worldViewInv).xyz;
    vMotion = (velocityTransform * p).xy * velocityScale;
}
'''
fragment = '''
in vec3 vPosition;
in vec3 vNormal;
in vec2 vUv;
in vec3 vTangent;
in vec3 vBinormal;
in vec3 vViewPosition;
in vec3 vViewNormal;
in vec2 vMotion;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outVelocity;
layout(location = 2) out vec4 outDepth;
layout(location = 3) out vec4 outNormal;
void main() {
    SurfacePoint s = SurfacePoint(vPosition, vNormal, vUv, vTangent, vBinormal);
    outColor = shadeSurface(s, true, false);
    outVelocity = vec4(0.5 + 0.5 * vMotion, 0.5, 1.0);
    outDepth = vec4(vec3(vViewPosition.z / farPlane()), 1.0);
    vec3 n = length(vViewNormal) > 0.0 ? normalize(vViewNormal) : vec3(0.0);
    outNormal = vec4(0.5 + 0.5 * n, 1.0);
}
'''

[[technique]]
name = "SolidObjectCookTorranceParallax"

[[technique.pass]]
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 1) in float blendWeight;
layout(location = 2) in vec4 blendIndices0;
layout(location = 3) in vec3 normal;
layout(location = 6) in vec2 texCoord;
layout(location = 8) in vec3 tangent;
layout(location = 9) in vec3 binormal;
layout(location = 14) in vec4 blendIndices1;
out vec3 vPosition;
out vec3 vNormal;
out vec2 vUv;
out vec3 vTangent;
out vec3 vBinormal;
out vec3 vViewPosition;
out vec3 vViewNormal;
out vec2 vMotion;
void main() {
    vec4 p = vec4(position, 1.0);
    vec3 n = normal;
    gl_Position = worldViewProjection * p;
    vPosition = p.xyz;
    vNormal = n;
    vUv = texCoord;
    vTangent = tangent;
    vBinormal = binormal;
    vViewPosition = (worldView * p).xyz;
    vViewNormal = (vec4(n, 0.0) * worldViewInv).xyz;
    vMotion = (velocityTransform * p).xy * velocityScale;
}
'''
fragment = '''
in vec3 vPosition;
in vec3 vNormal;
in vec2 vUv;
in vec3 vTangent;
in vec3 vBinormal;
in vec3 vViewPosition;
in vec3 vViewNormal;
in vec2 vMotion;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outVelocity;
layout(location = 2) out vec4 outDepth;
layout(location = 3) out vec4 outNormal;
void main() {
    SurfacePoint s = SurfacePoint(vPosition, vNormal, vUv, vTangent, vBinormal);
    outColor = shadeSurface(s, true, true);
    outVelocity = vec4(0.5 + 0.5 * vMotion, 0.5, 1.0);
    outDepth = vec4(vec3(vViewPosition.z / farPlane()), 1.0);
    vec3 n = length(vViewNormal) > 0.0 ? normalize(vViewNormal) : vec3(0.0);
    outNormal = vec4(0.5 + 0.5 * n, 1.0);
}
'''

[[technique]]
name = "SolidObjectCookTorranceParallaxSkinned"

[[technique.pass]]
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 1) in float blendWeight;
layout(location = 2) in vec4 blendIndices0;
layout(location = 3) in vec3 normal;
layout(location = 6) in vec2 texCoord;
layout(location = 8) in vec3 tangent;
layout(location = 9) in vec3 binormal;
layout(location = 14) in vec4 blendIndices1;
out vec3 vPosition;
out vec3 vNormal;
out vec2 vUv;
out vec3 vTangent;
out vec3 vBinormal;
out vec3 vViewPosition;
out vec3 vViewNormal;
out vec2 vMotion;
void main() {
    vec4 p = vec4(position, 1.0);
    vec3 n = normal;
    mat4 skin = skinMatrix(blendWeight, blendIndices0, blendIndices1);
    p = skin * p;
    n = mat3(skin) * n;
    gl_Position = worldViewProjection * p;
    vPosition = p.xyz;
    vNormal = n;
    vUv = texCoord;
    vTangent = tangent;
    vBinormal = binormal;
    vViewPosition = (worldView * p).xyz;
    vViewNormal = (vec4(n, 0.0) * worldViewInv).xyz;
    vMotion = (velocityTransform * p).xy * velocityScale;
}
'''
fragment = '''
in vec3 vPosition;
in vec3 vNormal;
in vec2 vUv;
in vec3 vTangent;
in vec3 vBinormal;
in vec3 vViewPosition;
in vec3 vViewNormal;
in vec2 vMotion;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outVelocity;
layout(location = 2) out vec4 outDepth;
layout(location = 3) out vec4 outNormal;
void main() {
    SurfacePoint s = SurfacePoint(vPosition, vNormal, vUv, vTangent, vBinormal);
    outColor = shadeSurface(s, true, true);
    outVelocity = vec4(0.5 + 0.5 * vMotion, 0.5, 1.0);
    outDepth = vec4(vec3(vViewPosition.z / farPlane()), 1.0);
    vec3 n = length(vViewNormal) > 0.0 ? normalize(vViewNormal) : vec3(0.0);
    outNormal = vec4(0.5 + 0.5 * n, 1.0);
}
'''

# Opened under this name by content that never begins it; it shades like the plain
# Blinn-Phong variant.
[[technique]]
name = "Tube"

[[technique.pass]]
vertex = '''
layout(location = 0) in vec3 position;
layout(location = 1) in float blendWeight;
layout(location = 2) in vec4 blendIndices0;
layout(location = 3) in vec3 normal;
layout(location = 6) in vec2 texCoord;
layout(location = 8) in vec3 tangent;
layout(location = 9) in vec3 binormal;
layout(location = 14) in vec4 blendIndices1;
out vec3 vPosition;
out vec3 vNormal;
out vec2 vUv;
out vec3 vTangent;
out vec3 vBinormal;
out vec3 vViewPosition;
out vec3 vViewNormal;
out vec2 vMotion;
void main() {
    vec4 p = vec4(position, 1.0);
    vec3 n = normal;
    gl_Position = worldViewProjection * p;
    vPosition = p.xyz;
    vNormal = n;
    vUv = texCoord;
    vTangent = tangent;
    vBinormal = binormal;
    vViewPosition = (worldView * p).xyz;
    vViewNormal = (vec4(n, 0.0) * worldViewInv).xyz;
    vMotion = (velocityTransform * p).xy * velocityScale;
}
'''
fragment = '''
in vec3 vPosition;
in vec3 vNormal;
in vec2 vUv;
in vec3 vTangent;
in vec3 vBinormal;
in vec3 vViewPosition;
in vec3 vViewNormal;
in vec2 vMotion;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outVelocity;
layout(location = 2) out vec4 outDepth;
layout(location = 3) out vec4 outNormal;
void main() {
    SurfacePoint s = SurfacePoint(vPosition, vNormal, vUv, vTangent, vBinormal);
    outColor = shadeSurface(s, false, false);
    outVelocity = vec4(0.5 + 0.5 * vMotion, 0.5, 1.0);
    outDepth = vec4(vec3(vViewPosition.z / farPlane()), 1.0);
    vec3 n = length(vViewNormal) > 0.0 ? normalize(vViewNormal) : vec3(0.0);
    outNormal = vec4(0.5 + 0.5 * n, 1.0);
}
'''
