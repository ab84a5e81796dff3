// Reads a fuzzer's bytes as a stream of small decisions. Past the end every
// read answers zero, so that any input, the empty one included, decodes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return position_ >= size_; }

    std::uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }

    std::uint16_t U16() {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | Byte() << 8);
    }

    std::uint32_t U32() {
        const std::uint32_t low = U16();
        return low | static_cast<std::uint32_t>(U16()) << 16;
    }

    std::vector<std::uint8_t> Bytes(std::size_t count) {
        std::vector<std::uint8_t> bytes(count, 0);
        for (std::uint8_t& byte : bytes) {
            byte = Byte();
        }
        return bytes;
    }

    // Text of that many bytes, with no terminator inside.
    std::string Text(std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) {
            const auto byte = static_cast<char>(Byte());
            text.push_back(byte != '\0' ? byte : 'x');
        }
        return text;
    }

    // UTF-16 of that many code units, any of them (lone surrogates too) but
    // the terminator.
    std::u16string Text16(std::size_t count) {
        std::u16string text;
        for (std::size_t i = 0; i < count; ++i) {
            const char16_t unit = U16();
            text.push_back(unit != u'\0' ? unit : u'x');
        }
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};
