#pragma once
// Packages made at random for the writer's round trip and the reader's fuzz seeds: any number of
// records, files and chunks, texts and lengths often at the limits of their fields, empty groups
// and an empty scene block among them. Only what the layout can hold is made.

#include <random>
#include <string>
#include <vector>

#include "formats/addin/Package.h"
#include "foundation/bytes/ByteWriter.h"

namespace mw::build {

class PackageGenerator {
public:
    explicit PackageGenerator(unsigned seed) : m_random(seed) {}

    Package next()
    {
        Package p;
        p.title = text(" abcXYZ019_-.");
        p.missionName = text("abcm19 ");
        p.blockName = text("AddedBox ");
        for (int t = 0; t < 4; ++t) {
            p.apply[t] = coin();
            for (int i = upTo(3); i > 0; --i)
                p.patches[t].push_back({bytes(limit(1, 17)), bytes(limit(0, 255))});
        }
        p.objects = chunks(0x4010);
        p.definitions = chunks(0xAE21);
        for (auto& group : p.groups)
            for (int i = upTo(2); i > 0; --i)
                group.push_back({fileName(), bytes(upTo(64))});
        return p;
    }

private:
    int upTo(int n) { return std::uniform_int_distribution<int>(0, n)(m_random); }
    bool coin() { return upTo(1) == 1; }
    // A length from low to high, one time in three at one of the two.
    int limit(int low, int high)
    {
        switch (upTo(5)) {
        case 0:
            return low;
        case 1:
            return high;
        default:
            return std::uniform_int_distribution<int>(low, high)(m_random);
        }
    }
    std::vector<std::uint8_t> bytes(int n)
    {
        std::vector<std::uint8_t> out(static_cast<std::size_t>(n));
        for (auto& b : out)
            b = static_cast<std::uint8_t>(upTo(255));
        return out;
    }
    // Up to 20 characters, not ending in a blank (the reader trims trailing blanks).
    std::string text(const std::string& alphabet)
    {
        std::string s(static_cast<std::size_t>(limit(0, 20)), ' ');
        for (char& c : s)
            c = alphabet[static_cast<std::size_t>(upTo(static_cast<int>(alphabet.size()) - 1))];
        while (!s.empty() && s.back() == ' ')
            s.back() = 'x';
        return s;
    }
    std::string fileName()
    {
        std::string s = text("abcdefghijklmnopqrstuvwxyz0123456789-_");
        return s.empty() ? std::string("f") : s;
    }
    std::vector<std::uint8_t> chunks(std::uint16_t id)
    {
        ByteWriter out;
        for (int i = upTo(3); i > 0; --i) {
            const auto payload = bytes(upTo(40));
            out.u16(id);
            out.u32(static_cast<std::uint32_t>(payload.size() + 6));
            out.append(payload);
        }
        return out.take();
    }

    std::mt19937 m_random;
};

} // namespace mw::build
