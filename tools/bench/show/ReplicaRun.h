// `bench --replica`: the show's frames on the device beside their raw-OpenGL replicas
// (ReplicaFrame), in one process per size and mode, alternating frame for frame so that both see
// the same machine. At each key time of the show the device's frame is traced, replayed once to
// check that the replica's pixels agree with the device's, then both are rendered `rounds` times.
//
// Whole-frame mode times each frame as the show runs it (device: the frame loop's step with its
// read-back; replica: every operation and the read-back). Pass mode brackets every draw, clear,
// present and read-back with glFinish on both sides (see PassClock) and pairs them by pass.
// Results are "key value" lines for the parent: replica.frame and replica.pass.LABEL carry
// "device ms|replica ms|ratio median|ratio p10|ratio p90|samples" (ratios of paired frames),
// replica.agree.TIME "bytes differing|largest difference".
#pragma once

#include <cstdio>

struct ReplicaRunSettings {
    int width = 1280;
    int height = 720;
    bool passes = false;
    int rounds = 8;
};

// Returns the exit code of the child process.
int runReplicaSize(const ReplicaRunSettings& settings, std::FILE* out);
