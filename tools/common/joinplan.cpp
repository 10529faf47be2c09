#include "common/joinplan.h"

#include "common/encoderargs.h"

namespace tools
{

JoinRoute JoinPlan::routeFor(const std::string &extension)
{
    const std::string ext = lowerAscii(extension);
    if (ext == "mp4" || ext == "mov" || ext == "m4a" || ext == "m4v" || ext == "3gp" ||
        ext == "3g2")
        return JoinRoute::TransportStream;
    if (ext == "vob")
        return JoinRoute::DvdCopy;
    if (ext == "rm" || ext == "ra" || ext == "rmvb" || ext == "swf")
        return JoinRoute::Reencode;
    return JoinRoute::ConcatCopy;
}

std::string JoinPlan::quoted(const std::string &path)
{
    std::string token = "'";
    for (char c : path) {
        if (c == '\'')
            token += "'\\''";
        else
            token += c;
    }
    return token + "'";
}

bool JoinPlan::listable(const std::string &path)
{
    // The list is read line by line: a line break cannot be quoted.
    return !path.empty() && path.find_first_of("\r\n") == std::string::npos;
}

std::string JoinPlan::listFile(const std::vector<std::string> &paths)
{
    std::string list = "ffconcat version 1.0\n";
    for (const std::string &path : paths)
        list += "file " + quoted(path) + "\n";
    return list;
}

} // namespace tools
