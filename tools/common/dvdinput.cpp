#include "common/dvdinput.h"

#include "common/encoderargs.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tools
{

namespace
{

bool parseNumber(const std::string &text, long long &value)
{
    if (text.empty() || text.size() > 12)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    value = std::strtoll(text.c_str(), nullptr, 10);
    return true;
}

// "0", or a hexadecimal id such as "0x80" (decimal ids are taken as well).
bool parseId(const std::string &text, int &value)
{
    const std::string id = lowerAscii(text);
    if (id.empty() || id.size() > 8)
        return false;
    char *end = nullptr;
    const long parsed = id.rfind("0x", 0) == 0 ? std::strtol(id.c_str() + 2, &end, 16)
                                               : std::strtol(id.c_str(), &end, 10);
    if (*end != '\0' || parsed < 0 || parsed > 0x1ff || (id.rfind("0x", 0) == 0 && id.size() == 2))
        return false;
    value = static_cast<int>(parsed);
    return true;
}

} // namespace

bool DvdInput::isDvdInput(const std::string &text)
{
    return lowerAscii(text.substr(0, 6)) == "vts://";
}

std::optional<DvdInput> DvdInput::parse(const std::string &text, std::string *error)
{
    auto fail = [error](const std::string &message) -> std::optional<DvdInput> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    if (!isDvdInput(text))
        return fail("not a DVD input (vts://...)");

    std::vector<std::string> fields;
    size_t at = 6;
    for (int i = 0; i < 5; ++i) {
        const size_t star = text.find('*', at);
        if (star == std::string::npos)
            return fail("incomplete DVD input '" + text + "'");
        fields.push_back(text.substr(at, star - at));
        at = star + 1;
    }
    // What follows the fifth "*" is "/" and the disc root.
    if (at >= text.size() || text[at] != '/' || at + 1 >= text.size())
        return fail("the DVD input names no disc folder");

    DvdInput input;
    input.m_root = text.substr(at + 1);
    long long titleSet = 0;
    if (!parseNumber(fields[0], titleSet) || titleSet < 1 || titleSet > 99)
        return fail("bad title set '" + fields[0] + "'");
    input.m_titleSet = static_cast<int>(titleSet);
    if (!parseNumber(fields[1], input.m_begin) || !parseNumber(fields[2], input.m_end))
        return fail("bad sector range '" + fields[1] + "' to '" + fields[2] + "'");
    if (input.m_end < input.m_begin)
        return fail("the sector range ends before it begins");

    int audio = 0;
    if (!parseId(fields[3], audio))
        return fail("bad audio stream id '" + fields[3] + "'");
    // DVD numbering of MPEG audio (0xc0+n) is the PES stream 0x1c0+n.
    if (audio >= 0xc0 && audio <= 0xdf)
        audio += 0x100;
    input.m_audio = audio;
    int subpicture = 0;
    if (!parseId(fields[4], subpicture))
        return fail("bad subpicture id '" + fields[4] + "'");
    if (subpicture != 0 && (subpicture < 0x20 || subpicture > 0x3f))
        return fail("bad subpicture id '" + fields[4] + "'");
    input.m_subpicture = subpicture;
    return input;
}

std::string DvdInput::hexId(int id)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%x", id);
    return buffer;
}

std::string DvdInput::audioMap() const
{
    return m_audio == 0 ? "0:a:0?" : "0:i:" + hexId(m_audio);
}

std::string DvdInput::subtitleMap() const
{
    return m_subpicture == 0 ? std::string() : "0:i:" + hexId(m_subpicture);
}

} // namespace tools
