#pragma once
// The PC's network adapters: the list the network settings dialog offers, and the setting of
// an adapter's static IPv4 address, mask and gateway through the system's network manager.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Most adapters listed; further ones are left out.
constexpr size_t kMaxAdapters = 15;

struct AdapterInfo {
    std::string description;  // shown in the adapter list
    std::string name;         // the interface name the configurator takes
    std::string ipAddress;    // dotted texts
    std::string subnetMask;
    std::string gateway;      // "" when the adapter has no default route
};

// The machine's adapters that have an IPv4 address, loopback left out, in the system's order,
// at most kMaxAdapters; each with its first address and mask and the gateway of its default
// route in /proc/net/route.
std::vector<AdapterInfo> ListNetworkAdapters();

// The gateway of the interface's default route in a routing table in the format of
// /proc/net/route; "" when it has none.
std::string GatewayFromRouteTable(const std::string& table, const std::string& interfaceName);

// The prefix length of a dotted mask ("255.255.255.0" is 24); -1 for a text that is no mask.
int MaskPrefixLength(const std::string& mask);

// Lists the adapters and sets one up. The dialog gets one; tests give it a fake.
class NetworkAdapterConfigurator {
public:
    virtual ~NetworkAdapterConfigurator() = default;
    virtual std::vector<AdapterInfo> ListAdapters() = 0;
    // Finds the configuration of the adapter with this name; false when there is none that
    // can be set.
    virtual bool FindAdapterConfig(const std::string& adapterName) = 0;
    // Gives the adapter found last a static address, mask and gateway (dotted texts; the
    // gateway may be ""). False when the system refused or the adapter was not found.
    virtual bool SetAdapterStaticAddress(const std::string& address, const std::string& mask,
                                         const std::string& gateway) = 0;
    // Why the last call failed, for the user ("" after a success).
    virtual std::string LastErrorText() const = 0;
};

// Runs the network manager's command line. Changing an address needs the rights to change the
// system's connections (root, or a user the system's policy allows).
class NmcliAdapterConfigurator : public NetworkAdapterConfigurator {
public:
    // program: the command to run, found on PATH.
    explicit NmcliAdapterConfigurator(std::string program = "nmcli") : m_program(std::move(program)) {}
    std::vector<AdapterInfo> ListAdapters() override { return ListNetworkAdapters(); }
    bool FindAdapterConfig(const std::string& adapterName) override;
    bool SetAdapterStaticAddress(const std::string& address, const std::string& mask,
                                 const std::string& gateway) override;
    std::string LastErrorText() const override { return m_error; }

private:
    // Runs the program with the arguments; true when it ran and exited with 0. Its output goes
    // to out; on failure m_error says why.
    bool Run(const std::vector<std::string>& arguments, std::string& out);

    std::string m_program;
    std::string m_connection;  // the connection profile of the adapter found last
    std::string m_error;
};
