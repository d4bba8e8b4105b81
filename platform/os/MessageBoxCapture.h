// Records the message boxes shown while it exists (tests); see ReportCapture.
#pragma once

#include "platform/os/MessageBoxRecord.h"
#include "platform/os/ReportCapture.h"

namespace os {

using MessageBoxCapture = ReportCapture<MessageBoxRecord>;

}  // namespace os
