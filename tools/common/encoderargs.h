#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tools
{

struct EncoderOption {
    std::string name; // with its leading "-"
    std::string value;
    bool hasValue = false;
};

// The encoder's command line as the converter writes it: FFmpeg-style options, "-i" and
// the input, and the output path last. Options after "-i" belong to the output.
class EncoderArgs
{
public:
    // args excludes the program name. Empty arguments (left by doubled blanks) are dropped.
    static std::optional<EncoderArgs> parse(const std::vector<std::string> &args,
                                            std::string *error = nullptr);

    const std::string &input() const { return m_input; }
    const std::string &output() const { return m_output; }
    bool isProbe() const { return m_output.empty(); }
    bool overwrite() const { return m_overwrite; }
    const std::vector<EncoderOption> &inputOptions() const { return m_inputOptions; }
    const std::vector<EncoderOption> &outputOptions() const { return m_outputOptions; }

    // The value of the last output option of that name, if given.
    std::optional<std::string> lastValue(const std::string &name) const;
    bool hasOption(const std::string &name) const;

    // Lower-case extension of the output path without its dot; empty when it has none.
    std::string outputExtension() const;

    // Options that stand alone; every other option takes the next argument as its value.
    static bool isFlag(const std::string &name);

private:
    std::string m_input;
    std::string m_output;
    bool m_overwrite = false;
    std::vector<EncoderOption> m_inputOptions;
    std::vector<EncoderOption> m_outputOptions;
};

std::string lowerAscii(std::string text);
std::string extensionOf(const std::string &path); // lower case, no dot

} // namespace tools
