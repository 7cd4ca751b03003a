#include "QfetchOptions.h"

#include <limits>

namespace qv::qfetch {
namespace {

constexpr int64_t kMaxBuffer = 1LL << 30;  // one read buffer of at most 1 GiB

// A decimal whole number within [low, high]; nullopt for anything else.
std::optional<int64_t> ParseWholeNumber(const std::wstring& text, int64_t low, int64_t high) {
    if (text.empty() || text.size() > 19) return std::nullopt;
    int64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

bool IsHeaderLine(const std::wstring& line) {
    const size_t colon = line.find(L':');
    if (colon == 0 || colon == std::wstring::npos) return false;
    for (const wchar_t c : line) {
        if (c == L'\r' || c == L'\n') return false;
    }
    return true;
}

class Parser {
public:
    explicit Parser(const std::vector<std::wstring>& arguments) : args_(arguments) {}

    ParseResult Run() {
        Options options;
        std::vector<std::wstring> positional;
        for (index_ = 0; index_ < args_.size(); ++index_) {
            const std::wstring& arg = args_[index_];
            if (arg == L"--") {
                positional.insert(positional.end(), args_.begin() + index_ + 1, args_.end());
                break;
            }
            if (arg.size() < 2 || arg.compare(0, 2, L"--") != 0) {
                positional.push_back(arg);
                continue;
            }
            if (!TakeOption(arg, options)) return Failure();
        }
        if (positional.size() != 2) {
            return Failure(L"需要两个参数 URL 和 FILE，实际给了 " +
                           std::to_wstring(positional.size()) + L" 个");
        }
        options.url = positional[0];
        options.file = positional[1];
        if (options.file.empty()) return Failure(L"FILE 不能为空");
        return ParseResult{options, L""};
    }

private:
    bool TakeOption(const std::wstring& name, Options& options) {
        if (name == L"--no-resume") {
            options.resume = false;
            return true;
        }
        if (name == L"--header") {
            const std::optional<std::wstring> value = Value(name);
            if (!value) return false;
            if (!IsHeaderLine(*value)) {
                error_ = L"--header 需要 \"名称: 值\" 形式的一行，实际为 '" + *value + L"'";
                return false;
            }
            options.headers.push_back(*value);
            return true;
        }
        const struct {
            const wchar_t* name;
            int64_t low;
            int64_t high;
        } numbers[] = {
            {L"--retries", 0, std::numeric_limits<int32_t>::max()},
            {L"--timeout", 0, std::numeric_limits<int32_t>::max()},
            {L"--buffer", 1, kMaxBuffer},
            {L"--max-size", 0, std::numeric_limits<int64_t>::max()},
            {L"--cancel-after", 1, std::numeric_limits<int64_t>::max()},
        };
        for (const auto& number : numbers) {
            if (name != number.name) continue;
            const std::optional<std::wstring> text = Value(name);
            if (!text) return false;
            const std::optional<int64_t> value = ParseWholeNumber(*text, number.low, number.high);
            if (!value) {
                error_ = name + L" 需要 " + std::to_wstring(number.low) + L" 到 " +
                         std::to_wstring(number.high) + L" 之间的整数，实际为 '" + *text + L"'";
                return false;
            }
            Store(name, *value, options);
            return true;
        }
        error_ = L"未知选项 " + name;
        return false;
    }

    static void Store(const std::wstring& name, int64_t value, Options& options) {
        if (name == L"--retries") options.retries = static_cast<int32_t>(value);
        if (name == L"--timeout") options.timeoutMs = static_cast<int32_t>(value);
        if (name == L"--buffer") options.bufferBytes = static_cast<int32_t>(value);
        if (name == L"--max-size") options.maxSize = value;
        if (name == L"--cancel-after") options.cancelAfter = value;
    }

    std::optional<std::wstring> Value(const std::wstring& name) {
        if (index_ + 1 >= args_.size()) {
            error_ = name + L" 缺少取值";
            return std::nullopt;
        }
        return args_[++index_];
    }

    ParseResult Failure(std::wstring error = {}) {
        return ParseResult{std::nullopt, error.empty() ? error_ : error};
    }

    const std::vector<std::wstring>& args_;
    size_t index_ = 0;
    std::wstring error_;
};

}  // namespace

ParseResult ParseArguments(const std::vector<std::wstring>& arguments) {
    return Parser(arguments).Run();
}

const wchar_t* UsageText() {
    return L"usage: qfetch [--no-resume] [--retries N] [--timeout MS] [--buffer BYTES] "
           L"[--max-size BYTES] [--header \"Name: value\"]... [--cancel-after N] URL FILE";
}

}  // namespace qv::qfetch
