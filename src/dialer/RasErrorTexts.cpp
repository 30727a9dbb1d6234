#include "dialer/RasErrorTexts.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace kestrelon {

namespace {

using Text = std::pair<std::uint32_t, std::string_view>;

// Sorted by number.
constexpr std::array kTexts{
    Text{600, "An operation is pending."},
    Text{601, "The port handle is invalid."},
    Text{602, "The port is already open."},
    Text{603, "Caller's buffer is too small."},
    Text{604, "Wrong information specified."},
    Text{605, "Cannot set port information."},
    Text{606, "The port is not connected."},
    Text{607, "The event is invalid."},
    Text{608, "The device does not exist."},
    Text{609, "The device type does not exist."},
    Text{610, "The buffer is invalid."},
    Text{611, "The route is not available."},
    Text{612, "The route is not allocated."},
    Text{613, "Invalid compression specified."},
    Text{614, "Out of buffers."},
    Text{615, "The port was not found."},
    Text{616, "An asynchronous request is pending."},
    Text{617, "The port or device is already disconnecting."},
    Text{618, "The port is not open."},
    Text{619, "The port is disconnected."},
    Text{620, "There are no endpoints."},
    Text{621, "Cannot open the phone book file."},
    Text{622, "Cannot load the phone book file."},
    Text{623, "The system could not find the phone book entry for this connection."},
    Text{624, "Cannot write the phone book file."},
    Text{625, "Invalid information found in the phone book file."},
    Text{626, "Cannot load a string."},
    Text{627, "Cannot find key."},
    Text{628, "The port was disconnected."},
    Text{629, "The port was disconnected by the remote machine."},
    Text{630, "The port was disconnected due to hardware failure."},
    Text{631, "The port was disconnected by the user."},
    Text{632, "The structure size is incorrect."},
    Text{633,
         "The modem (or other connecting device) is already in use or is not configured "
         "properly."},
    Text{634, "Cannot register your computer on the remote network."},
    Text{635, "Unknown error."},
    Text{636, "The wrong device is attached to the port."},
    Text{637, "The string could not be converted."},
    Text{638, "The request has timed out."},
    Text{639, "No asynchronous net available."},
    Text{640, "A NetBIOS error has occurred."},
    Text{641, "The server cannot allocate NetBIOS resources needed to support the client."},
    Text{642, "One of your NetBIOS names is already registered on the remote network."},
    Text{643, "A network adapter at the server failed."},
    Text{644, "You will not receive network message popups."},
    Text{645, "Internal authentication error."},
    Text{646, "The account is not permitted to log on at this time of day."},
    Text{647, "The account is disabled."},
    Text{648, "The password has expired."},
    Text{649, "The account does not have Remote Access permission."},
    Text{650, "The Remote Access server is not responding."},
    Text{651, "Your modem (or other connecting device) has reported an error."},
    Text{652, "Unrecognized response from the device."},
    Text{653, "A macro required by the device was not found in the device .INF file section."},
    Text{654,
         "A command or response in the device .INF file section refers to an undefined "
         "macro."},
    Text{655, "The <message> macro was not found in the device .INF file section."},
    Text{656,
         "The <defaultoff> macro in the device .INF file section contains an undefined "
         "macro."},
    Text{657, "The device .INF file could not be opened."},
    Text{658, "The device name in the device .INF or media .INI file is too long."},
    Text{659, "The media .INI file refers to an unknown device name."},
    Text{660, "The device .INF file contains no responses for the command."},
    Text{661, "The device .INF file is missing a command."},
    Text{662, "Attempted to set a macro not listed in device .INF file section."},
    Text{663, "The media .INI file refers to an unknown device type."},
    Text{664, "Cannot allocate memory."},
    Text{665, "The port is not configured for Remote Access."},
    Text{666, "Your modem (or other connecting device) is not functioning."},
    Text{667, "Cannot read the media .INI file."},
    Text{668, "The connection dropped."},
    Text{669, "The usage parameter in the media .INI file is invalid."},
    Text{670, "Cannot read the section name from the media .INI file."},
    Text{671, "Cannot read the device type from the media .INI file."},
    Text{672, "Cannot read the device name from the media .INI file."},
    Text{673, "Cannot read the usage from the media .INI file."},
    Text{674, "Cannot read the maximum connection BPS rate from the media .INI file."},
    Text{675, "Cannot read the maximum carrier connection speed from the media .INI file."},
    Text{676, "The line is busy."},
    Text{677, "A person answered instead of a modem."},
    Text{678, "There was no answer."},
    Text{679, "Cannot detect carrier."},
    Text{680, "There was no dial tone."},
    Text{681, "General error reported by device."},
    Text{682, "ERROR WRITING SECTIONNAME"},
    Text{683, "ERROR WRITING DEVICETYPE"},
    Text{684, "ERROR WRITING DEVICENAME"},
    Text{685, "ERROR WRITING MAXCONNECTBPS"},
    Text{686, "ERROR WRITING MAXCARRIERBPS"},
    Text{687, "ERROR WRITING USAGE"},
    Text{688, "ERROR WRITING DEFAULTOFF"},
    Text{689, "ERROR READING DEFAULTOFF"},
    Text{690, "ERROR EMPTY INI FILE"},
    Text{691,
         "Access was denied because the username and/or password was invalid on the "
         "domain."},
    Text{692, "Hardware failure in port or attached device."},
    Text{693, "ERROR NOT BINARY MACRO"},
    Text{694, "ERROR DCB NOT FOUND"},
    Text{695, "The state machines are not started."},
    Text{696, "The state machines are already started."},
    Text{697, "The response looping did not complete."},
    Text{698, "A response keyname in the device .INF file is not in the expected format."},
    Text{699, "The modem (or other connecting device) response caused a buffer overflow."},
    Text{700, "The expanded command in the device .INF file is too long."},
    Text{701, "The modem moved to a connection speed not supported by the COM driver."},
    Text{702, "Device response received when none expected."},
    Text{703,
         "The connection needs information from you, but the application does not allow "
         "user interaction."},
    Text{704, "The callback number is invalid."},
    Text{705, "The authorization state is invalid."},
    Text{706, "ERROR WRITING INITBPS"},
    Text{707, "X.25 diagnostic indication."},
    Text{708, "The account has expired."},
    Text{709, "Error changing password on domain."},
    Text{710, "Serial overrun errors were detected while communicating with your modem."},
    Text{711, "RasMan initialization failure. Check the event log."},
    Text{712, "The two-way port is initializing. Wait a few seconds and redial."},
    Text{713, "No active ISDN lines are available."},
    Text{714, "No ISDN channels are available to make the call."},
    Text{715, "Too many errors occurred because of poor phone line quality."},
    Text{716, "The Remote Access Service IP configuration is unusable."},
    Text{717,
         "No IP addresses are available in the static pool of Remote Access Service IP "
         "addresses."},
    Text{718, "Timed out waiting for a valid response from the remote PPP peer."},
    Text{719, "PPP terminated by remote machine."},
    Text{720, "No PPP control protocols configured."},
    Text{721, "Remote PPP peer is not responding."},
    Text{722, "The PPP packet is invalid."},
    Text{723, "The phone number, including prefix and suffix, is too long."},
    Text{724,
         "The IPX protocol cannot dial out on the port because the computer is an IPX "
         "router."},
    Text{725,
         "The IPX protocol cannot dial in on the port because the IPX router is not "
         "installed."},
    Text{726, "The IPX protocol cannot be used for dial-out on more than one port at a time."},
    Text{727, "Cannot access TCPCFG.DLL."},
    Text{728, "Cannot find an IP adapter bound to Remote Access."},
    Text{729, "SLIP cannot be used unless the IP protocol is installed."},
    Text{730, "Computer registration is not complete."},
    Text{731, "The protocol is not configured."},
    Text{732, "The PPP negotiation is not converging."},
    Text{733,
         "The PPP control protocol for this network protocol is not available on the "
         "server."},
    Text{734, "The PPP link control protocol terminated."},
    Text{735, "The requested address was rejected by the server."},
    Text{736, "The remote computer terminated the control protocol."},
    Text{737, "Loopback detected."},
    Text{738, "The server did not assign an address."},
    Text{739,
         "The authentication protocol required by the remote server cannot use the stored "
         "password. Redial, entering the password explicitly."},
    Text{740,
         "The TAPI devices configured for Remote Access failed to initialize or were not "
         "installed correctly."},
    Text{741, "The local computer does not support the required encryption type."},
    Text{742, "The remote computer does not support the required encryption type."},
    Text{743, "The remote server requires encryption."},
    Text{744,
         "Cannot use the IPX network number assigned by the remote server. Check the event "
         "log."},
    Text{751,
         "The callback number contains an invalid character. Only the following 18 "
         "characters are allowed: 0 to 9, T, P, W, (, ), -, @, and space."},
    Text{752, "A syntax error was encountered while processing a script."},
    Text{753,
         "The connection could not be disconnected because it was created by the "
         "multi-protocol router."},
    Text{754, "The system could not find the multi-link bundle."},
    Text{755,
         "The system cannot perform automated dial because this connection has a custom "
         "dialer specified."},
    Text{756, "This connection is already being dialed."},
    Text{757, "Remote Access Services could not be started automatically."},
    Text{758, "Internet Connection Sharing is already enabled on the connection."},
    Text{759,
         "An error occurred while the existing Internet Connection Sharing settings were "
         "being changed."},
    Text{760, "An error occurred while routing capabilities were being enabled."},
    Text{761,
         "An error occurred while Internet Connection Sharing was being enabled for the "
         "connection."},
    Text{762, "An error occurred while the local network was being configured for sharing."},
    Text{763,
         "Internet Connection Sharing cannot be enabled. There is more than one LAN "
         "connection other than the connection to be shared."},
    Text{764, "No smart card reader is installed."},
    Text{765,
         "Internet Connection Sharing cannot be enabled. A LAN connection is already "
         "configured with the IP address that is required for automatic IP addressing."},
    Text{766,
         "A certificate could not be found. Connections that use the L2TP protocol over "
         "IPSec require the installation of a machine certificate, also known as a "
         "computer certificate."},
    Text{767,
         "Internet Connection Sharing cannot be enabled. The LAN connection selected as the "
         "private network has more than one IP address configured. Please reconfigure the "
         "LAN connection with a single IP address before enabling Internet Connection "
         "Sharing."},
    Text{768, "The connection attempt failed because of failure to encrypt data."},
    Text{769, "The specified destination is not reachable."},
    Text{770, "The remote computer rejected the connection attempt."},
    Text{771, "The connection attempt failed because the network is busy."},
    Text{772,
         "The remote computer's network hardware is incompatible with the type of call "
         "requested."},
    Text{773, "The connection attempt failed because the destination number has changed."},
    Text{774,
         "The connection attempt failed because of a temporary failure. Try connecting "
         "again."},
    Text{775, "The call was blocked by the remote computer."},
    Text{776,
         "The call could not be connected because the remote computer has invoked the Do "
         "Not Disturb feature."},
    Text{777,
         "The connection attempt failed because the modem (or other connecting device) on "
         "the remote computer is out of order."},
    Text{778, "It was not possible to verify the identity of the server."},
    Text{779, "To dial out using this connection you must use a smart card."},
    Text{780, "An attempted function is not valid for this connection."},
    Text{781, "The encryption attempt failed because no valid certificate was found."},
    Text{782,
         "Connection Sharing (NAT) is currently installed as a routing protocol, and must "
         "be removed before enabling Internet Connection Sharing."},
    Text{783,
         "Internet Connection Sharing cannot be enabled. The LAN connection selected as the "
         "private network is either not present, or is disconnected from the network. "
         "Please ensure that the LAN adapter is connected before enabling Internet "
         "Connection Sharing."},
    Text{784,
         "You cannot dial using this connection at logon time, because it is configured to "
         "use a user name different than the one on the smart card. If you want to use it "
         "at logon time, you must configure it to use the user name on the smart card."},
    Text{785,
         "You cannot dial using this connection at logon time, because it is not "
         "configured to use a smart card. If you want to use it at logon time, you must "
         "edit the properties of this connection so that it uses a smart card."},
    Text{786,
         "The L2TP connection attempt failed because there is no valid machine certificate "
         "on your computer for security authentication."},
    Text{787,
         "The L2TP connection attempt failed because the security layer could not "
         "authenticate the remote computer."},
    Text{788,
         "The L2TP connection attempt failed because the security layer could not "
         "negotiate compatible parameters with the remote computer."},
    Text{789,
         "The L2TP connection attempt failed because the security layer encountered a "
         "processing error during initial negotiations with the remote computer."},
    Text{790,
         "The L2TP connection attempt failed because certificate validation on the remote "
         "computer failed."},
    Text{791,
         "The L2TP connection attempt failed because security policy for the connection "
         "was not found."},
    Text{792, "The L2TP connection attempt failed because security negotiation timed out."},
    Text{793,
         "The L2TP connection attempt failed because an error occurred while negotiating "
         "security."},
    Text{794, "The Framed Protocol RADIUS attribute for this user is not PPP."},
    Text{795, "The Tunnel Type RADIUS attribute for this user is not correct."},
    Text{796,
         "The Service Type RADIUS attribute for this user is neither Framed nor Callback "
         "Framed."},
    Text{797,
         "A connection to the remote computer could not be established because the modem "
         "was not found or was busy."},
    Text{798,
         "A certificate could not be found that can be used with this Extensible "
         "Authentication Protocol."},
    Text{799,
         "Internet Connection Sharing (ICS) cannot be enabled due to an IP address conflict "
         "on the network."},
    Text{800, "Unable to establish the VPN connection."},
};

static_assert(std::ranges::is_sorted(kTexts, {}, &Text::first));

}  // namespace

std::string StandardRasErrorText(std::uint32_t code) {
    const auto it = std::ranges::lower_bound(kTexts, code, {}, &Text::first);
    if (it == kTexts.end() || it->first != code) {
        return "";
    }
    return std::string(it->second);
}

}  // namespace kestrelon
