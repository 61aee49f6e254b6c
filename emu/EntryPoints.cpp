// The ASPI entry points of the emulator, serving the current manager.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

#include "emu/Emulator.h"

namespace emu {

namespace {

// 4.60, as a manager of the late nineties reported itself (major in the low byte).
constexpr uint32_t kDllVersion = 0x00003C04;

std::mutex currentLock;
std::shared_ptr<Manager> current;

// The ASPI32BUFF record of GetASPI32Buffer and FreeASPI32Buffer.
struct Aspi32Buff {
    uint8_t* AB_BufPointer;
    uint32_t AB_BufLen;
    uint32_t AB_ZeroFill;
    uint32_t AB_Reserved;
};

// Largest buffer GetASPI32Buffer hands out, as real managers limit it.
constexpr uint32_t kMaxAspiBuffer = 512 * 1024;

std::mutex buffersLock;
std::set<uint8_t*> buffers;

}  // namespace

void SetCurrent(std::shared_ptr<Manager> manager)
{
    std::lock_guard<std::mutex> guard(currentLock);
    current = std::move(manager);
}

std::shared_ptr<Manager> Current()
{
    std::lock_guard<std::mutex> guard(currentLock);
    return current;
}

uint32_t ASPI_CDECL SendASPI32Command(void* srb)
{
    auto manager = Current();
    if (manager) return manager->sendCommand(srb);
    if (srb) static_cast<SRB_Header*>(srb)->SRB_Status = SS_FAILED_INIT;
    return SS_FAILED_INIT;
}

uint32_t ASPI_CDECL GetASPI32SupportInfo()
{
    auto manager = Current();
    return manager ? manager->getSupportInfo() : uint32_t(SS_FAILED_INIT) << 8;
}

uint32_t ASPI_CDECL GetASPI32DLLVersion() { return kDllVersion; }

int ASPI_CDECL GetASPI32Buffer(void* buffer)
{
    auto* record = static_cast<Aspi32Buff*>(buffer);
    if (!record || record->AB_BufLen == 0 || record->AB_BufLen > kMaxAspiBuffer) return 0;
    auto* block = new uint8_t[record->AB_BufLen];
    if (record->AB_ZeroFill) std::memset(block, 0, record->AB_BufLen);
    std::lock_guard<std::mutex> guard(buffersLock);
    buffers.insert(block);
    record->AB_BufPointer = block;
    return 1;
}

int ASPI_CDECL FreeASPI32Buffer(void* buffer)
{
    auto* record = static_cast<Aspi32Buff*>(buffer);
    if (!record) return 0;
    std::lock_guard<std::mutex> guard(buffersLock);
    if (!buffers.erase(record->AB_BufPointer)) return 0;
    delete[] record->AB_BufPointer;
    record->AB_BufPointer = nullptr;
    return 1;
}

int ASPI_CDECL TranslateASPI32Address(uint32_t*, uint32_t*) { return 0; }

}  // namespace emu
