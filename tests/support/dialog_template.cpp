#include "tests/support/dialog_template.h"

#include <cstring>

namespace {

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& data) : data_(data) {}

    bool ok() const { return ok_; }

    template <typename T>
    T Take() {
        T value{};
        if (at_ + sizeof value > data_.size()) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, data_.data() + at_, sizeof value);
        at_ += sizeof value;
        return value;
    }

    std::string Text() {
        std::string text;
        for (std::uint16_t unit = Take<std::uint16_t>(); ok_ && unit != 0;
             unit = Take<std::uint16_t>()) {
            text.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
        }
        return text;
    }

    NameOrOrdinal NameOrNumber() {
        NameOrOrdinal value;
        const auto first = Take<std::uint16_t>();
        if (first == 0xFFFF) {
            value.ordinal = true;
            value.number = Take<std::uint16_t>();
        } else if (first != 0) {
            at_ -= sizeof first;
            value.name = Text();
        }
        return value;
    }

    void AlignToDword() { at_ = (at_ + 3) & ~std::size_t{3}; }
    void Skip(std::size_t bytes) { at_ += bytes; }

private:
    const std::vector<std::uint8_t>& data_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

}  // namespace

std::optional<DialogTemplate> ParseDialogTemplate(const std::vector<std::uint8_t>& data) {
    Reader in(data);
    DialogTemplate dialog;
    dialog.style = in.Take<std::uint32_t>();
    if ((dialog.style >> 16) == 0xFFFF) {
        return std::nullopt;  // DLGTEMPLATEEX starts with version 1, signature 0xFFFF
    }
    dialog.exStyle = in.Take<std::uint32_t>();
    const auto count = in.Take<std::uint16_t>();
    dialog.x = in.Take<std::int16_t>();
    dialog.y = in.Take<std::int16_t>();
    dialog.cx = in.Take<std::int16_t>();
    dialog.cy = in.Take<std::int16_t>();
    dialog.menu = in.NameOrNumber();
    dialog.windowClass = in.NameOrNumber();
    dialog.caption = in.Text();
    if ((dialog.style & DS_SETFONT) != 0) {
        dialog.pointSize = in.Take<std::uint16_t>();
        dialog.font = in.Text();
    }
    for (std::uint16_t i = 0; i < count && in.ok(); ++i) {
        in.AlignToDword();
        DialogItem item;
        item.style = in.Take<std::uint32_t>();
        item.exStyle = in.Take<std::uint32_t>();
        item.x = in.Take<std::int16_t>();
        item.y = in.Take<std::int16_t>();
        item.cx = in.Take<std::int16_t>();
        item.cy = in.Take<std::int16_t>();
        item.id = in.Take<std::uint16_t>();
        item.windowClass = in.NameOrNumber();
        item.title = in.NameOrNumber();
        item.extraBytes = in.Take<std::uint16_t>();
        in.Skip(item.extraBytes);
        dialog.items.push_back(item);
    }
    if (!in.ok()) {
        return std::nullopt;
    }
    return dialog;
}

std::vector<std::uint8_t> DialogResource(HMODULE module, WORD id) {
    const HRSRC found = FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(id),
                                        MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (found == nullptr) {
        return {};
    }
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    return std::vector<std::uint8_t>(bytes, bytes + SizeofResource(module, found));
}

NameOrOrdinal Ordinal(std::uint16_t number) {
    return NameOrOrdinal{true, number, ""};
}
NameOrOrdinal Name(const char* name) {
    return NameOrOrdinal{false, 0, name};
}

std::string ToText(const NameOrOrdinal& value) {
    return value.ordinal ? "#" + std::to_string(value.number) : "\"" + value.name + "\"";
}

void PrintTo(const NameOrOrdinal& value, std::ostream* out) {
    *out << ToText(value);
}
