#include "platform/platformerror.h"

namespace platform {

PlatformError::PlatformError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}

} // namespace platform
