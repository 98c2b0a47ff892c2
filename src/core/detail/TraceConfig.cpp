#include "core/detail/TraceConfig.h"

#include "core/Paths.h"
#include "core/XMLAttributes.h"
#include "core/XMLError.h"
#include "core/XMLParser.h"
#include "core/detail/TraceWarning.h"

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

void readCategories(XMLParser& parser, TraceOutputConfig& output)
{
    XMLAttributes attributes;
    while (parser.parseStartElementOrNone("category", attributes)) {
        output.categoryLimits[attributes.getString("name")] =
            levelFromConfig(attributes.getString("limit"));
        parser.parseEndElement("category");
    }
}

// Reads one <output> up to its end tag.
TraceOutputConfig readOutput(XMLParser& parser, const XMLAttributes& attributes)
{
    TraceOutputConfig output;
    output.type = attributes.getString("type", "file");
    output.flush = attributes.getBool("flush", false);
    output.backups = attributes.getInt("backups", 0);
    output.defaultLimit = levelFromConfig(attributes.getString("defaultlimit", "info"));
    readCategories(parser, output);
    parser.parseEndElement("output");
    if (output.type == "file") {
        output.fileName = attributes.getString("filename");
        output.maxBytes = attributes.getLongLong("maxBytes", 0);
        output.append = attributes.getBool("append", false);
    }
    return output;
}

// The output a configuration describes; empty when its type is not supported.
std::unique_ptr<TraceOutput> openOutput(const TraceOutputConfig& config)
{
    if (config.type != "file" && config.type != "stderr") {
        traceWarning("Unsupported output type: " + config.type);
        return nullptr;
    }
    auto output = std::make_unique<TraceOutput>();
    output->setFlush(config.flush);
    output->setBackups(config.backups);
    output->setDefaultLimit(config.defaultLimit);
    for (const auto& category : config.categoryLimits)
        output->setCategoryLimit(category.first, category.second);
    if (config.type == "stderr") {
        output->useStderr();
    } else {
        output->setMaxBytes(config.maxBytes);
        output->openFile(withPathDefault(config.fileName), config.append);
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

std::vector<TraceOutputConfig> parseTraceConfig(std::istream& in)
{
    std::vector<TraceOutputConfig> outputs;
    XMLParser parser(in);
    XMLAttributes attributes;
    parser.parseStartElement("traceconfig", attributes);
    while (parser.parseStartElementOrNone("output", attributes))
        outputs.push_back(readOutput(parser, attributes));
    parser.parseEndElement("traceconfig");
    return outputs;
}

std::vector<std::unique_ptr<TraceOutput>> readTraceConfig(std::istream& in)
{
    std::vector<std::unique_ptr<TraceOutput>> outputs;
    for (const TraceOutputConfig& config : parseTraceConfig(in)) {
        std::unique_ptr<TraceOutput> output = openOutput(config);
        if (output)
            outputs.push_back(std::move(output));
    }
    return outputs;
}

} // namespace OKU
