#include "QmpScreen.h"

#include <fstream>
#include <stdexcept>
#include <thread>

namespace board {

namespace {

const size_t c_pixelCount = static_cast<size_t>(sim::ScreenMode::c_width) *
                            sim::ScreenMode::c_height;

} // namespace

std::vector<uint32_t> readScreenPpm(const std::string& path)
{
    std::ifstream file(path, std::ios_base::binary);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    file >> magic >> width >> height >> maximum;
    file.get();  // the single blank before the pixels
    if (!file || magic != "P6" || width != sim::ScreenMode::c_width ||
        height != sim::ScreenMode::c_height || maximum != 255)
        throw std::runtime_error("\"" + path + "\" is no " +
                                 sim::ScreenMode::description() + " screendump.");
    std::vector<unsigned char> bytes(c_pixelCount * 3);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<long>(bytes.size())))
        throw std::runtime_error("\"" + path + "\" is cut short.");
    std::vector<uint32_t> words(c_pixelCount);
    for (size_t i = 0; i < c_pixelCount; ++i)
        words[i] = static_cast<uint32_t>(bytes[3 * i]) << 16 |
                   static_cast<uint32_t>(bytes[3 * i + 1]) << 8 | bytes[3 * i + 2];
    return words;
}

QmpScreen::QmpScreen(QmpClient& qmp, const std::string& dumpFile)
    : m_qmp(qmp), m_dumpFile(dumpFile)
{
}

std::vector<uint32_t> QmpScreen::snapshot() const
{
    std::this_thread::sleep_until(m_lastDump + std::chrono::milliseconds(c_minDumpIntervalMs));
    m_lastDump = std::chrono::steady_clock::now();
    if (!m_qmp.tryExecute("screendump", "{\"filename\": " + jsonString(m_dumpFile) + "}"))
        return std::vector<uint32_t>(c_pixelCount, 0);
    try {
        return readScreenPpm(m_dumpFile);
    } catch (const std::runtime_error&) {
        // A scan-out of another size: the guest's console before the GPU
        // driver has set the mode.
        return std::vector<uint32_t>(c_pixelCount, 0);
    }
}

} // namespace board
