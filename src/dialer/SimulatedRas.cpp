#include "dialer/SimulatedRas.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "core/IniDocument.h"
#include "dialer/RasErrorTexts.h"

namespace kestrelon {

namespace {

constexpr std::uint32_t kRasCsOpenPort = 0;
constexpr std::uint32_t kRasCsConnectDevice = 2;
constexpr std::uint32_t kRasCsAuthenticate = 5;
constexpr std::uint32_t kErrorPortAlreadyOpen = 602;
constexpr std::uint32_t kErrorCannotFindEntry = 623;
constexpr std::uint32_t kErrorAuthenticationFailure = 691;

// Counts the nesting of event delivery for as long as it lives.
class DeliveryScope {
  public:
    explicit DeliveryScope(int& depth) : depth_(depth) { ++depth_; }
    ~DeliveryScope() { --depth_; }
    DeliveryScope(const DeliveryScope&) = delete;
    DeliveryScope& operator=(const DeliveryScope&) = delete;

  private:
    int& depth_;
};

}  // namespace

SimulatedRas::SimulatedRas(std::string directory, const Clock& clock, TimerFactory& timers)
    : directory_(std::move(directory)),
      clock_(clock),
      timers_(timers),
      connections_(directory_, clock) {
    std::error_code ec;
    std::filesystem::create_directories(directory_, ec);
    PhoneBook();
}

// Calls in progress end with this object; connections that are up stay in the shared table.
SimulatedRas::~SimulatedRas() = default;

std::string SimulatedRas::PhoneBookPath() const {
    return directory_ + "/" + std::string(kPhoneBookFileName);
}

std::vector<PhoneBookEntry> SimulatedRas::PhoneBook() const {
    return LoadPhoneBook(PhoneBookPath());
}

void SimulatedRas::SetDialEventSink(DialEventSink sink) {
    sink_ = std::move(sink);
}

std::vector<std::string> SimulatedRas::EnumEntries() {
    std::vector<std::string> names;
    for (PhoneBookEntry& entry : PhoneBook()) {
        names.push_back(std::move(entry.name));
    }
    return names;
}

RasDialParams SimulatedRas::GetEntryDialParams(const std::string& entry) {
    const auto found = FindEntry(PhoneBook(), entry);
    if (!found) {
        return {};
    }
    return {found->userName, found->password};
}

std::vector<SimulatedRas::Step> SimulatedRas::Plan(const PhoneBookEntry& entry,
                                                   const DialOutcome& outcome,
                                                   bool entryConnected) {
    const Step opening{0, {{kRasCsOpenPort, 0}, {kRasCsConnectDevice, 0}}, false};
    if (entryConnected) {
        return {opening, {entry.failMs, {{kRasCsOpenPort, kErrorPortAlreadyOpen}}, false}};
    }
    const Step device{entry.deviceMs, {{kRasCsDeviceConnected, 0}}, false};
    const std::uint32_t online = entry.deviceMs + entry.authMs;
    switch (outcome.kind) {
        case DialOutcome::Kind::Silent:
            return {};
        case DialOutcome::Kind::Connect:
            return {opening, device, {online, {}, true}};
        case DialOutcome::Kind::AuthFail:
            return {opening,
                    device,
                    {online, {{kRasCsAuthenticate, kErrorAuthenticationFailure}}, false}};
        case DialOutcome::Kind::Error:
            break;
    }
    return {opening, {entry.failMs, {{kRasCsConnectDevice, outcome.error}}, false}};
}

// The simulation does not judge the credentials: the entry's Answer key decides.
std::uint32_t SimulatedRas::Dial(int line, const std::string& entry, const std::string&,
                                 const std::string&, RasHandle& handle) {
    handle = 0;
    ForgetExpiredHandles();
    const auto found = FindEntry(PhoneBook(), entry);
    if (!found) {
        return kErrorCannotFindEntry;
    }
    const std::vector<SharedConnection> live = connections_.Live();
    const bool entryConnected = std::ranges::any_of(live, [&](const SharedConnection& c) {
        return EqualsIgnoreCase(c.entryName, found->name);
    });
    DialOutcome outcome;
    if (!entryConnected) {
        // A dial refused for a connected entry does not use up one of its answers.
        std::size_t& dials = dialsOfEntry_[ToLower(found->name)];
        outcome = found->OutcomeOfDial(dials++);
    }

    const RasHandle allocated = connections_.AllocateHandle();
    auto call = std::make_unique<Call>();
    call->line = line;
    call->entryName = found->name;
    call->dropAfterMs = found->dropAfterMs;
    call->steps = Plan(*found, outcome, entryConnected);
    call->timer = timers_.CreateTimer([this, allocated] { RunStep(allocated); });
    if (!call->steps.empty()) {
        call->timer->StartSingleShot(call->steps.front().atMs);
    }
    calls_[allocated] = std::move(call);
    handle = allocated;
    return 0;
}

void SimulatedRas::RunStep(RasHandle handle) {
    const auto it = calls_.find(handle);
    if (it == calls_.end()) {
        return;
    }
    Call& call = *it->second;
    if (call.nextStep >= call.steps.size()) {
        return;
    }
    const Step step = call.steps[call.nextStep++];
    if (call.nextStep < call.steps.size()) {
        call.timer->StartSingleShot(call.steps[call.nextStep].atMs - step.atMs);
    }
    std::vector<Event> events = step.events;
    if (step.connect) {
        const std::uint32_t now = clock_.TickCount();
        SharedConnection row{handle, call.entryName, now, std::nullopt};
        if (call.dropAfterMs > 0) {
            row.dropTick = now + call.dropAfterMs;
        }
        // Another call of the same entry may have come up in the meantime.
        if (connections_.AddIfEntryFree(row)) {
            call.connected = true;
            events = {{kRasCsConnected, 0}};
        } else {
            events = {{kRasCsAuthenticate, kErrorPortAlreadyOpen}};
        }
    }
    Deliver(handle, events);
}

void SimulatedRas::Deliver(RasHandle handle, const std::vector<Event>& events) {
    DeliveryScope scope(delivering_);
    for (const Event& event : events) {
        // The sink may have hung the call up after the previous event.
        const auto it = calls_.find(handle);
        if (it == calls_.end()) {
            return;
        }
        it->second->state = event.state;
        const int line = it->second->line;
        const DialEventSink sink = sink_;
        if (sink) {
            sink(line, event.state, event.error);
        }
    }
}

void SimulatedRas::ForgetExpiredHandles() {
    // Inside a delivery the call being delivered may be among them; the next call cleans up.
    if (delivering_ > 0) {
        return;
    }
    const std::uint32_t now = clock_.TickCount();
    std::erase_if(hungUp_,
                  [&](const auto& item) { return now - item.second.since >= item.second.validMs; });
}

void SimulatedRas::HangUp(RasHandle handle) {
    if (handle == 0) {
        return;
    }
    ForgetExpiredHandles();
    if (hungUp_.contains(handle)) {
        return;
    }
    HungUp hung;
    std::string entryName;
    if (const auto it = calls_.find(handle); it != calls_.end()) {
        hung.call = std::move(it->second);
        calls_.erase(it);
        hung.call->timer->Stop();  // the pending events of the call never come
        entryName = hung.call->entryName;
        if (hung.call->connected) {
            connections_.Remove(handle);
        }
    } else if (const auto row = connections_.Remove(handle)) {
        entryName = row->entryName;  // a connection another process made
    } else {
        return;
    }
    const auto entry = FindEntry(PhoneBook(), entryName);
    hung.since = clock_.TickCount();
    hung.validMs = entry ? entry->hangUpMs : PhoneBookEntry{}.hangUpMs;
    hungUp_[handle] = std::move(hung);
}

std::uint32_t SimulatedRas::GetConnectStatus(RasHandle handle, std::uint32_t& state) {
    ForgetExpiredHandles();
    const std::uint32_t now = clock_.TickCount();
    if (const auto it = hungUp_.find(handle); it != hungUp_.end()) {
        if (now - it->second.since >= it->second.validMs) {
            return kErrorInvalidHandle;
        }
        state = kRasCsDisconnected;
        return 0;
    }
    if (const auto it = calls_.find(handle); it != calls_.end()) {
        if (!it->second->connected) {
            state = it->second->state;
            return 0;
        }
        if (connections_.Find(handle)) {
            state = kRasCsConnected;
            return 0;
        }
        // Dropped by itself or hung up by another process.
        if (delivering_ == 0) {
            calls_.erase(it);
        }
        return kErrorInvalidHandle;
    }
    if (connections_.Find(handle)) {
        state = kRasCsConnected;
        return 0;
    }
    return kErrorInvalidHandle;
}

std::vector<RasConnection> SimulatedRas::EnumConnections() {
    std::vector<RasConnection> result;
    for (SharedConnection& row : connections_.Live()) {
        result.push_back({row.handle, std::move(row.entryName)});
    }
    return result;
}

std::optional<std::uint32_t> SimulatedRas::ConnectDurationMs(RasHandle handle) {
    const auto row = connections_.Find(handle);
    if (!row) {
        return std::nullopt;
    }
    return clock_.TickCount() - row->startTick;
}

std::string SimulatedRas::IpAddress(RasHandle handle) {
    const auto row = connections_.Find(handle);
    if (!row) {
        return "";
    }
    const auto entry = FindEntry(PhoneBook(), row->entryName);
    return entry ? entry->ipAddress : DefaultIpAddress(row->entryName);
}

std::string SimulatedRas::ErrorString(std::uint32_t code) {
    return StandardRasErrorText(code);
}

}  // namespace kestrelon
