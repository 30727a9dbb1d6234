#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialer/RasBackend.h"
#include "dialer/SimulatedRasConnections.h"
#include "dialer/SimulatedRasPhoneBook.h"
#include "platform/Clock.h"
#include "platform/Timer.h"

namespace kestrelon {

// A remote access service without modems. The phone book "rasphone.pbk" in the service
// directory says what each dial of an entry does and how long it takes; the events come from
// single-shot timers, so they reach the sink later than the Dial call, as the platform's do.
// A call in progress belongs to this object alone; a connection that is up is in the table
// shared with every process using the same directory, so it outlives the process that made
// it and a hang-up anywhere ends it everywhere. The phone book is read anew on each use, so a
// hand edit counts at the next dial.
class SimulatedRas : public RasBackend {
  public:
    // The directory is created, and the sample phone book written, when missing.
    SimulatedRas(std::string directory, const Clock& clock, TimerFactory& timers);
    ~SimulatedRas() override;
    SimulatedRas(const SimulatedRas&) = delete;
    SimulatedRas& operator=(const SimulatedRas&) = delete;

    void SetDialEventSink(DialEventSink sink) override;
    std::vector<std::string> EnumEntries() override;
    RasDialParams GetEntryDialParams(const std::string& entry) override;
    std::uint32_t Dial(int line, const std::string& entry, const std::string& userName,
                       const std::string& password, RasHandle& handle) override;
    void HangUp(RasHandle handle) override;
    std::uint32_t GetConnectStatus(RasHandle handle, std::uint32_t& state) override;
    std::vector<RasConnection> EnumConnections() override;
    std::optional<std::uint32_t> ConnectDurationMs(RasHandle handle) override;
    std::string IpAddress(RasHandle handle) override;
    std::string ErrorString(std::uint32_t code) override;

    const std::string& Directory() const { return directory_; }
    std::string PhoneBookPath() const;

  private:
    struct Event {
        std::uint32_t state = 0;
        std::uint32_t error = 0;
    };
    // What happens atMs after the dial began; a connect step brings the connection up.
    struct Step {
        std::uint32_t atMs = 0;
        std::vector<Event> events;
        bool connect = false;
    };
    struct Call {
        int line = 0;
        std::string entryName;
        std::uint32_t dropAfterMs = 0;
        std::uint32_t state = 0;  // the last state delivered
        bool connected = false;
        std::vector<Step> steps;
        std::size_t nextStep = 0;
        std::unique_ptr<Timer> timer;
    };
    // A handle that was hung up here stays valid for a while, then reads as invalid.
    struct HungUp {
        std::uint32_t since = 0;
        std::uint32_t validMs = 0;
        std::unique_ptr<Call> call;  // kept so its timer is never destroyed inside its callback
    };

    std::vector<PhoneBookEntry> PhoneBook() const;
    static std::vector<Step> Plan(const PhoneBookEntry& entry, const DialOutcome& outcome,
                                  bool entryConnected);
    void RunStep(RasHandle handle);
    void Deliver(RasHandle handle, const std::vector<Event>& events);
    void ForgetExpiredHandles();

    std::string directory_;
    const Clock& clock_;
    TimerFactory& timers_;
    SimulatedRasConnections connections_;
    DialEventSink sink_;
    std::map<RasHandle, std::unique_ptr<Call>> calls_;
    std::map<RasHandle, HungUp> hungUp_;
    std::map<std::string, std::size_t> dialsOfEntry_;  // by lower-case entry name
    int delivering_ = 0;                               // nesting depth of event delivery
};

}  // namespace kestrelon
