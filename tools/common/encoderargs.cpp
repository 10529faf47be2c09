#include "common/encoderargs.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace tools
{

namespace
{

bool isOptionLike(const std::string &arg)
{
    return arg.size() > 1 && arg[0] == '-';
}

} // namespace

std::string lowerAscii(std::string text)
{
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string extensionOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return lowerAscii(path.substr(dot + 1));
}

bool EncoderArgs::isFlag(const std::string &name)
{
    static constexpr std::string_view kFlags[] = {"-y",
                                                  "-n",
                                                  "-sn",
                                                  "-an",
                                                  "-vn",
                                                  "-dn",
                                                  "-sameq",
                                                  "-deinterlace",
                                                  "-shortest",
                                                  "-nostdin",
                                                  "-stdin",
                                                  "-hide_banner",
                                                  "-intra",
                                                  "-psnr",
                                                  "-benchmark",
                                                  "-stats",
                                                  "-nostats",
                                                  "-copyts",
                                                  "-re",
                                                  "-ilme",
                                                  "-ildct",
                                                  "-bitexact",
                                                  "-hq",
                                                  "-newaudio",
                                                  "-newvideo",
                                                  "-newsubtitle",
                                                  "-dump",
                                                  "-hex",
                                                  "-vstats",
                                                  "-accurate_seek",
                                                  "-noaccurate_seek",
                                                  "-xerror",
                                                  "-start_at_zero",
                                                  "-autorotate"};
    return std::find(std::begin(kFlags), std::end(kFlags), std::string_view(name)) !=
           std::end(kFlags);
}

std::optional<EncoderArgs> EncoderArgs::parse(const std::vector<std::string> &rawArgs,
                                              std::string *error)
{
    auto fail = [error](const std::string &message) -> std::optional<EncoderArgs> {
        if (error)
            *error = message;
        return std::nullopt;
    };

    std::vector<std::string> args;
    for (const std::string &arg : rawArgs) {
        if (!arg.empty())
            args.push_back(arg);
    }

    EncoderArgs result;
    bool haveInput = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const bool last = i + 1 == args.size();
        if (arg == "-i") {
            if (last)
                return fail("-i needs an input file");
            if (haveInput)
                return fail("only one input is supported");
            result.m_input = args[++i];
            haveInput = true;
            continue;
        }
        // The last argument is the output, whatever it starts with, unless it is a flag.
        if (last && !(isOptionLike(arg) && isFlag(arg))) {
            result.m_output = arg;
            break;
        }
        if (!isOptionLike(arg))
            return fail("unexpected argument '" + arg + "'");
        if (arg == "-y") {
            result.m_overwrite = true;
            continue;
        }
        if (arg == "-n") {
            result.m_overwrite = false;
            continue;
        }
        EncoderOption option;
        option.name = arg;
        if (!isFlag(arg)) {
            if (i + 1 >= args.size() || (i + 2 == args.size() && haveInput))
                return fail(arg + " needs a value");
            option.value = args[++i];
            option.hasValue = true;
        }
        (haveInput ? result.m_outputOptions : result.m_inputOptions).push_back(option);
    }
    if (!haveInput)
        return fail("no input given (-i)");
    return result;
}

std::optional<std::string> EncoderArgs::lastValue(const std::string &name) const
{
    for (auto it = m_outputOptions.rbegin(); it != m_outputOptions.rend(); ++it) {
        if (it->name == name && it->hasValue)
            return it->value;
    }
    return std::nullopt;
}

bool EncoderArgs::hasOption(const std::string &name) const
{
    return std::any_of(m_outputOptions.begin(), m_outputOptions.end(),
                       [&](const EncoderOption &o) { return o.name == name; });
}

std::string EncoderArgs::outputExtension() const
{
    return extensionOf(m_output);
}

} // namespace tools
