// ID3DXBuffer holding a message: its bytes and a terminating zero, as D3DX's error buffers do.
#pragma once

#include <atomic>
#include <string>

#include "platform/d3dx9/d3dx9.h"

namespace fx {

class MessageBuffer final : public ID3DXBuffer {
public:
    explicit MessageBuffer(std::string text) : text_(std::move(text)) {}

    ULONG AddRef() override { return ++references_; }
    ULONG Release() override;
    void* GetBufferPointer() override { return text_.data(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(text_.size() + 1); }

private:
    ~MessageBuffer() override = default;

    std::atomic<ULONG> references_{1};
    std::string text_;
};

}  // namespace fx
