#include "charges/Statistics.h"

#include <bit>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/ProgramDirectory.h"
#include "platform/MessageService.h"

namespace kestrelon {

namespace {

constexpr std::size_t kStartOffset = 2 * kStatisticsNameSize;
constexpr std::size_t kEndOffset = kStartOffset + 8;

void PutName(unsigned char* out, const std::string& name) {
    std::memset(out, ' ', kStatisticsNameSize);
    std::memcpy(out, name.data(), std::min(name.size(), kStatisticsNameSize));
}

void PutDouble(unsigned char* out, double value) {
    auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<unsigned char>(bits & 0xFF);
        bits >>= 8;
    }
}

double GetDouble(const unsigned char* in) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) {
        bits = bits << 8 | in[i];
    }
    return std::bit_cast<double>(bits);
}

std::uintmax_t FileLength(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

}  // namespace

StatisticsBytes EncodeStatisticsRecord(const std::string& conName, const std::string& chargeName,
                                       double start, double end) {
    StatisticsBytes bytes{};
    PutName(bytes.data(), conName);
    PutName(bytes.data() + kStatisticsNameSize, chargeName);
    PutDouble(bytes.data() + kStartOffset, start);
    PutDouble(bytes.data() + kEndOffset, end);
    return bytes;
}

StatisticsRecord DecodeStatisticsRecord(const unsigned char* bytes) {
    StatisticsRecord record;
    record.ConName.assign(reinterpret_cast<const char*>(bytes), kStatisticsNameSize);
    record.ChargeName.assign(reinterpret_cast<const char*>(bytes + kStatisticsNameSize),
                             kStatisticsNameSize);
    record.Start = GetDouble(bytes + kStartOffset);
    record.End = GetDouble(bytes + kEndOffset);
    return record;
}

std::string TrimStatisticsName(const std::string& name) {
    const auto first = name.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

std::string StatisticsFilePath() {
    return InProgramDirectory(kStatisticsFileName);
}

bool StatisticsAvailable(const std::string& path) {
    return FileLength(path) > 0;
}

bool WriteStatisticsRecord(const std::string& conName, const std::string& chargeName, double start,
                           double end, MessageService& messages, const std::string& path) {
    if (conName.empty()) {
        return true;
    }
    {
        // Created when missing, never truncated.
        std::ofstream create(path, std::ios::binary | std::ios::app);
        if (!create) {
            return false;
        }
    }
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!file) {
        return false;
    }
    const auto count = static_cast<std::size_t>(FileLength(path) / kStatisticsRecordSize);
    double lastEnd = 0;
    if (count > 0) {
        StatisticsBytes last{};
        file.seekg(static_cast<std::streamoff>((count - 1) * kStatisticsRecordSize));
        file.read(reinterpret_cast<char*>(last.data()), kStatisticsRecordSize);
        lastEnd = DecodeStatisticsRecord(last.data()).End;
    }
    if (start == 0 || end == 0) {
        messages.Information("error bij wegschrijven! neem contact op met de maker", "");
    }
    const std::size_t slot = count == 0 || start >= lastEnd ? count : count - 1;
    const StatisticsBytes bytes = EncodeStatisticsRecord(conName, chargeName, start, end);
    file.clear();
    file.seekp(static_cast<std::streamoff>(slot * kStatisticsRecordSize));
    // One record is far below the stream's buffer, so it reaches the file in one write.
    file.write(reinterpret_cast<const char*>(bytes.data()), kStatisticsRecordSize);
    file.flush();
    return static_cast<bool>(file);
}

StatisticsReader::StatisticsReader(const std::string& path)
    : in_(path, std::ios::binary), count_(FileLength(path) / kStatisticsRecordSize) {}

std::vector<StatisticsRecord> StatisticsReader::ReadAll() {
    std::vector<StatisticsRecord> records;
    if (!in_.is_open() || count_ == 0) {
        return records;
    }
    std::vector<unsigned char> bytes(count_ * kStatisticsRecordSize);
    in_.clear();
    in_.seekg(0);
    in_.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const auto whole = static_cast<std::size_t>(in_.gcount()) / kStatisticsRecordSize;
    records.reserve(whole);
    for (std::size_t i = 0; i < whole; ++i) {
        records.push_back(DecodeStatisticsRecord(bytes.data() + i * kStatisticsRecordSize));
    }
    return records;
}

}  // namespace kestrelon
