// A small effect in the compiled effect format, for tests of the effect registry and shaders:
// technique "Glow" with two passes, "Flat" with one, and a parameter of each kind the shader
// wrapper sets.
#pragma once

inline constexpr const char* kTinyEffect = R"fx(
[parameters]
power = "float"
count = "int"
flag = "bool"
dir = "float3"
tint = "float4"
wvp = "float4x4"

[[technique]]
name = "Glow"

[[technique.pass]]
states = { ZWRITEENABLE = false }
vertex = '''
layout(location = 0) in vec3 position;
void main() {
    gl_Position = wvp * vec4(position * dir, power);
}
'''
fragment = '''
out vec4 color;
void main() {
    color = tint * float(count) * (flag ? 1.0 : 0.5);
}
'''

[[technique.pass]]
states = { ALPHABLENDENABLE = true }
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

[[technique]]
name = "Flat"

[[technique.pass]]
vertex = '''
layout(location = 0) in vec3 position;
void main() {
    gl_Position = vec4(position, 1.0);
}
'''
fragment = '''
out vec4 color;
void main() {
    color = vec4(power);
}
'''
# compiled from tiny.fx
)fx";
