#pragma once

#include <QByteArrayView>
#include <cstdint>

namespace platform {

/**
 * Little-endian reads from a record; a read past the end gives 0, so a short record can
 * never be read out of bounds.
 */
class LittleEndianView
{
public:
    explicit LittleEndianView(QByteArrayView bytes = {}) : m_bytes(bytes) {}

    qsizetype size() const { return m_bytes.size(); }
    bool has(qsizetype offset, qsizetype length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_bytes.size() &&
               length <= m_bytes.size() - offset;
    }
    QByteArrayView bytes() const { return m_bytes; }
    /** The bytes at offset, or empty when they do not all lie inside. */
    QByteArrayView slice(qsizetype offset, qsizetype length) const
    {
        return has(offset, length) ? m_bytes.sliced(offset, length) : QByteArrayView();
    }

    std::uint8_t u8(qsizetype offset) const
    {
        return has(offset, 1) ? std::uint8_t(m_bytes[offset]) : 0;
    }
    std::uint16_t u16(qsizetype offset) const
    {
        return has(offset, 2) ? std::uint16_t(u8(offset) | (u8(offset + 1) << 8)) : 0;
    }
    std::uint32_t u32(qsizetype offset) const
    {
        return has(offset, 4) ? std::uint32_t(u16(offset)) | (std::uint32_t(u16(offset + 2)) << 16)
                              : 0;
    }
    std::int16_t i16(qsizetype offset) const { return std::int16_t(u16(offset)); }
    std::int32_t i32(qsizetype offset) const { return std::int32_t(u32(offset)); }
    float f32(qsizetype offset) const
    {
        const std::uint32_t bits = u32(offset);
        float value;
        static_assert(sizeof value == sizeof bits);
        __builtin_memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    QByteArrayView m_bytes;
};

} // namespace platform
