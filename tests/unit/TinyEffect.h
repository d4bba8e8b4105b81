// A small compiled effect for tests of the effect registry and shaders: technique "Glow" with
// two passes, "Flat" with one, and a parameter of each kind the shader wrapper sets.
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
vertex = "void main() { gl_Position = wvp * vec4(dir, power); }"
fragment = "out vec4 color; void main() { color = tint * float(count) * float(flag); }"

[[technique.pass]]
vertex = "void main() { gl_Position = vec4(0.0); }"
fragment = "out vec4 color; void main() { color = tint; }"

[[technique]]
name = "Flat"

[[technique.pass]]
vertex = "void main() { gl_Position = vec4(0.0); }"
fragment = "out vec4 color; void main() { color = vec4(power); }"
# compiled from tiny.fx
)fx";
