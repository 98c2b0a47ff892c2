#include "core/TraceConfig.h"

#include "core/Paths.h"
#include "core/TraceWarning.h"
#include "core/XMLAttributes.h"
#include "core/XMLError.h"
#include "core/XMLParser.h"

namespace OKU {

namespace {

// Indexed by TraceLevel.
const char* const c_levelNames[] = {"error", "warning", "info", "debug", "function", "silly"};

TraceLevel levelFromConfig(const std::string& name)
{
    TraceLevel level = TRACE_ERROR;
    if (!traceLevelFromName(name, level))
        throw XMLError("unknown trace limit '" + name + "'");
    return level;
}

std::string withPathDefault(const std::string& fileName)
{
    const std::string directory = getEnv("OKU_TRACEPATHDEFAULT", "");
    if (!pathDirName(fileName).empty() || directory.empty())
        return fileName;
    if (pathIsDirectory(directory))
        return directory + "/" + fileName;
    traceWarning("OKU_TRACEPATHDEFAULT\"=" + directory +
                 "\" is not a valid directory, using current directory");
    return fileName;
}

void readCategories(XMLParser& parser, TraceOutput& output)
{
    XMLAttributes attributes;
    while (parser.parseStartElementOrNone("category", attributes)) {
        output.setCategoryLimit(attributes.getString("name"),
                                levelFromConfig(attributes.getString("limit")));
        parser.parseEndElement("category");
    }
}

// Reads one <output> up to its end tag; empty when its type is not supported.
std::unique_ptr<TraceOutput> readOutput(XMLParser& parser, const XMLAttributes& attributes)
{
    auto output = std::make_unique<TraceOutput>();
    const std::string type = attributes.getString("type", "file");
    output->setFlush(attributes.getBool("flush", false));
    output->setBackups(attributes.getInt("backups", 0));
    if (type == "stderr")
        output->useStderr();
    output->setDefaultLimit(levelFromConfig(attributes.getString("defaultlimit", "info")));
    readCategories(parser, *output);
    parser.parseEndElement("output");

    if (type == "file") {
        const std::string fileName = withPathDefault(attributes.getString("filename"));
        output->setMaxBytes(attributes.getLongLong("maxBytes", 0));
        output->openFile(fileName, attributes.getBool("append", false));
    } else if (type != "stderr") {
        traceWarning("Unsupported output type: " + type);
        output.reset();
    }
    return output;
}

} // namespace

bool traceLevelFromName(const std::string& name, TraceLevel& level)
{
    for (int i = TRACE_ERROR; i <= TRACE_SILLY; ++i) {
        if (name == c_levelNames[i]) {
            level = static_cast<TraceLevel>(i);
            return true;
        }
    }
    return false;
}

std::vector<std::unique_ptr<TraceOutput>> readTraceConfig(std::istream& in)
{
    std::vector<std::unique_ptr<TraceOutput>> outputs;
    XMLParser parser(in);
    XMLAttributes attributes;
    parser.parseStartElement("traceconfig", attributes);
    while (parser.parseStartElementOrNone("output", attributes)) {
        std::unique_ptr<TraceOutput> output = readOutput(parser, attributes);
        if (output)
            outputs.push_back(std::move(output));
    }
    parser.parseEndElement("traceconfig");
    return outputs;
}

} // namespace OKU
