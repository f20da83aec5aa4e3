#include "tests/e2e/MalformedShortcuts.h"

#include <random>

namespace e2e {
namespace {

constexpr std::size_t HeaderSize = 0x4C;
constexpr std::uint32_t HasIdList = 0x1;
constexpr std::uint32_t HasLinkInfo = 0x2;
constexpr std::uint32_t IsUnicode = 0x80;
constexpr std::uint32_t StringDataFlags[] = {0x4, 0x8, 0x10, 0x20, 0x40};

void Put(Bytes& bytes, std::size_t at, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width && at + i < bytes.size(); ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void Append(Bytes& bytes, std::uint32_t value, std::size_t width) {
    bytes.resize(bytes.size() + width);
    Put(bytes, bytes.size() - width, value, width);
}

std::uint32_t Get(const Bytes& bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width && at + i < bytes.size(); ++i) {
        value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    }
    return value;
}

Bytes Header(std::uint32_t flags) {
    Bytes header;
    Append(header, HeaderSize, 4);
    const std::uint8_t shellLinkClass[] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                           0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    header.insert(header.end(), std::begin(shellLinkClass), std::end(shellLinkClass));
    Append(header, flags, 4);
    header.resize(HeaderSize);
    Put(header, 0x3C, 1, 4); // show command: normal
    return header;
}

struct Field {
    std::size_t at;
    std::size_t width;
};

// Where the seed keeps its sizes, offsets and counts, found by walking its structure.
std::vector<Field> FieldsOf(const Bytes& seed) {
    std::vector<Field> fields;
    const std::uint32_t flags = Get(seed, 0x14, 4);
    std::size_t at = HeaderSize;
    if ((flags & HasIdList) != 0 && at + 2 <= seed.size()) {
        fields.push_back({at, 2});
        const std::size_t end = at + 2 + Get(seed, at, 2);
        for (std::size_t item = at + 2; item + 2 <= end && item + 2 <= seed.size();) {
            fields.push_back({item, 2});
            const std::uint32_t size = Get(seed, item, 2);
            if (size == 0) {
                break;
            }
            item += size;
        }
        at = end;
    }
    if ((flags & HasLinkInfo) != 0 && at + 28 <= seed.size()) {
        const std::uint32_t infoHeader = Get(seed, at + 4, 4);
        for (std::size_t offset = 0; offset < infoHeader && offset + 4 <= 36; offset += 4) {
            fields.push_back({at + offset, 4});
        }
        const std::size_t volume = at + Get(seed, at + 12, 4);
        for (std::size_t offset = 0; offset < 16; offset += 4) {
            fields.push_back({volume + offset, 4});
        }
        at += Get(seed, at, 4);
    }
    for (const std::uint32_t stringFlag : StringDataFlags) {
        if ((flags & stringFlag) != 0 && at + 2 <= seed.size()) {
            fields.push_back({at, 2});
            at += 2 + Get(seed, at, 2) * ((flags & IsUnicode) != 0 ? 2 : 1);
        }
    }
    while (at + 8 <= seed.size()) {
        fields.push_back({at, 4});
        fields.push_back({at + 4, 4});
        const std::uint32_t size = Get(seed, at, 4);
        if (size < 8) {
            break;
        }
        at += size;
    }
    return fields;
}

} // namespace

Bytes ShortcutWithLocalPath(std::string_view path, bool terminated) {
    Bytes shortcut = Header(HasLinkInfo | IsUnicode);
    const std::size_t info = shortcut.size();
    constexpr std::uint32_t infoHeader = 0x1C;
    constexpr std::uint32_t volumeSize = 0x11; // its fields and an empty label
    const std::uint32_t localPath = infoHeader + volumeSize;
    const std::uint32_t suffix = localPath + static_cast<std::uint32_t>(path.size()) + 1;
    Append(shortcut, 0, 4); // the size, set below
    Append(shortcut, infoHeader, 4);
    Append(shortcut, 1, 4); // a volume and a local base path
    Append(shortcut, infoHeader, 4);
    Append(shortcut, localPath, 4);
    Append(shortcut, 0, 4);
    Append(shortcut, suffix, 4);
    Append(shortcut, volumeSize, 4);
    Append(shortcut, 3, 4); // a fixed drive
    Append(shortcut, 0x1234ABCD, 4);
    Append(shortcut, 0x10, 4);
    shortcut.push_back(0);
    shortcut.insert(shortcut.end(), path.begin(), path.end());
    if (!terminated) {
        return shortcut;
    }
    shortcut.push_back(0);
    shortcut.push_back(0); // the empty common path suffix
    Put(shortcut, info, static_cast<std::uint32_t>(shortcut.size() - info), 4);
    Append(shortcut, 0, 4); // no extra data
    return shortcut;
}

Bytes InstallerShortcut(std::string_view iconFile, std::string_view descriptor) {
    constexpr std::size_t Capacity = 260; // MAX_PATH, in each form of the descriptor
    Bytes shortcut = ShortcutWithLocalPath(iconFile);
    Put(shortcut, 0x14, HasLinkInfo | IsUnicode | 0x1000, 4); // and a descriptor
    shortcut.resize(shortcut.size() - 4); // the end of the extra data comes after the block
    Append(shortcut, 8 + Capacity * 3, 4);
    Append(shortcut, 0xA0000006, 4); // the descriptor's signature
    Bytes text(Capacity * 3);
    for (std::size_t i = 0; i < descriptor.size(); ++i) { // the ANSI form left empty
        text[Capacity + 2 * i] = static_cast<std::uint8_t>(descriptor[i]); // ASCII as UTF-16
    }
    shortcut.insert(shortcut.end(), text.begin(), text.end());
    Append(shortcut, 0, 4);
    return shortcut;
}

std::vector<MalformedShortcut> MalformedShortcuts(const Bytes& seed, int flips) {
    std::vector<MalformedShortcut> shortcuts;
    for (std::size_t length = 0; length < seed.size(); ++length) {
        shortcuts.push_back({"cut to " + std::to_string(length) + " bytes",
                             Bytes(seed.begin(), seed.begin() + length)});
    }
    std::mt19937 random(20240229);
    std::uniform_int_distribution<std::size_t> bit(0, seed.size() * 8 - 1);
    for (int flip = 0; flip < flips; ++flip) {
        const std::size_t at = bit(random);
        Bytes bytes = seed;
        bytes[at / 8] ^= static_cast<std::uint8_t>(1U << (at % 8));
        shortcuts.push_back({"bit " + std::to_string(at) + " flipped", std::move(bytes)});
    }
    for (const Field& field : FieldsOf(seed)) {
        const std::uint32_t original = Get(seed, field.at, field.width);
        const std::uint32_t all = field.width == 2 ? 0xFFFF : 0xFFFFFFFF;
        const std::uint32_t values[] = {0,
                                        1,
                                        2,
                                        3,
                                        all,
                                        all / 2 + 1,
                                        original + 1,
                                        original - 1,
                                        static_cast<std::uint32_t>(seed.size())};
        for (const std::uint32_t value : values) {
            Bytes bytes = seed;
            Put(bytes, field.at, value & all, field.width);
            shortcuts.push_back(
                {"field at " + std::to_string(field.at) + " set to " + std::to_string(value & all),
                 std::move(bytes)});
        }
    }
    return shortcuts;
}

} // namespace e2e
