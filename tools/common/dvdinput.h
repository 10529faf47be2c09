#pragma once

#include <optional>
#include <string>

namespace tools
{

// The converter's DVD input text: "vts://NN*B*E*A*S*/<root>", with the title set NN, the
// sectors B to E (inclusive) of that title set's VOBs as the IFO reader numbers them, the
// audio and subpicture ids ("0": first audio stream / no subtitle) and the disc root.
class DvdInput
{
public:
    static bool isDvdInput(const std::string &text);
    static std::optional<DvdInput> parse(const std::string &text, std::string *error = nullptr);

    int titleSet() const { return m_titleSet; }
    long long beginSector() const { return m_begin; }
    long long endSector() const { return m_end; }
    const std::string &root() const { return m_root; }

    // MPEG-PS stream ids as ffmpeg numbers them: AC3 0x80+n, DTS 0x88+n, LPCM 0xa0+n,
    // MPEG audio 0x1c0+n (written 0xc0+n in the input text), subpictures 0x20+n; 0 for none.
    int audioStreamId() const { return m_audio; }
    int subpictureStreamId() const { return m_subpicture; }

    // ffmpeg -map specifiers: the chosen audio stream, or the first one when none was chosen.
    std::string audioMap() const;
    std::string subtitleMap() const; // empty: no subtitle

    static std::string hexId(int id);

private:
    int m_titleSet = 0;
    long long m_begin = 0;
    long long m_end = 0;
    int m_audio = 0;
    int m_subpicture = 0;
    std::string m_root;
};

} // namespace tools
