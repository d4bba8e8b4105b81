// A linked GLSL program (vertex and fragment stage), the device's shader extension.
#pragma once

#include "platform/d3d9/gl/GLApi.h"

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GLRefCounted.h"

class GLProgram final : public IDirect3DProgram9, public GLRefCounted {
public:
    // Compiles and links; 0 when either fails, after writing the GL info log to stderr.
    static GLuint build(const char* vertexSource, const char* fragmentSource, const char* what);

    GLProgram(GLDevice& device, GLuint name);
    ~GLProgram() override;

    ULONG AddRef() override { return addPublicRef(); }
    ULONG Release() override { return releasePublicRef(); }
    INT GetUniformLocation(const char* name) override;

    GLuint name() const { return name_; }

private:
    GLuint name_;
};
