#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace kestrelon {

class MessageService;

// "Kestrelon.dat": fixed 144-byte records without header or trailer. Names are left-aligned and
// padded with spaces to 64 bytes (longer names cut), moments are little-endian doubles.
inline constexpr std::size_t kStatisticsRecordSize = 144;
inline constexpr std::size_t kStatisticsNameSize = 64;
inline constexpr const char* kStatisticsFileName = "Kestrelon.dat";

struct StatisticsRecord {
    std::string ConName;     // as stored, padding included
    std::string ChargeName;  // as stored, padding included
    double Start = 0;
    double End = 0;
};

using StatisticsBytes = std::array<unsigned char, kStatisticsRecordSize>;

StatisticsBytes EncodeStatisticsRecord(const std::string& conName, const std::string& chargeName,
                                       double start, double end);
StatisticsRecord DecodeStatisticsRecord(const unsigned char* bytes);
// A stored name without the padding spaces at both ends.
std::string TrimStatisticsName(const std::string& name);

// The statistics file of the program directory.
std::string StatisticsFilePath();
// True when the file exists and is longer than 0 bytes (the graph has something to show).
bool StatisticsAvailable(const std::string& path = StatisticsFilePath());

// Writes the record of a connection: appended when its start is not before the end of the last
// record, otherwise over the last record (the same connection written again, or one that
// overlaps). A partial record at the end is ignored and overwritten. An empty conName writes
// nothing. A zero moment is an internal fault: the fault message is shown and the record is
// still written. Every write is one positioned write of one whole record into the file as it
// is, so records before it never change and a reader keeps seeing them. False when the file
// could not be written.
bool WriteStatisticsRecord(const std::string& conName, const std::string& chargeName, double start,
                           double end, MessageService& messages,
                           const std::string& path = StatisticsFilePath());

// The graph's view of the file: opened when the window opens, closed when it closes.
class StatisticsReader {
  public:
    explicit StatisticsReader(const std::string& path = StatisticsFilePath());

    bool IsOpen() const { return in_.is_open(); }
    // Whole records in the file when it was opened.
    std::size_t Count() const { return count_; }
    // Records 1 .. Count() as they are in the file now.
    std::vector<StatisticsRecord> ReadAll();

  private:
    std::ifstream in_;
    std::size_t count_ = 0;
};

}  // namespace kestrelon
