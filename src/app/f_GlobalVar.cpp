#include "app/f_GlobalVar.h"

#include <memory>

namespace qv {
namespace {

std::unique_ptr<TLogger>& LoggerInstance() {
    static std::unique_ptr<TLogger> logger;
    return logger;
}

}  // namespace

bool CreateGlobalLogger(std::wstring& errorText) {
    LoggerInstance() = TLogger::Create(L"", errorText);
    return LoggerInstance() != nullptr;
}

TLogger& GlobalLogger() {
    return *LoggerInstance();
}

}  // namespace qv
