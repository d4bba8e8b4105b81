// Records the assertion reports raised while it exists (tests); see ReportCapture.
#pragma once

#include "platform/os/AssertionRecord.h"
#include "platform/os/ReportCapture.h"

namespace os {

using AssertionCapture = ReportCapture<AssertionRecord>;

}  // namespace os
