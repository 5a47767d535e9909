#include "link/network_adapters.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <ifaddrs.h>
#include <iterator>
#include <net/if.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr unsigned kRouteGatewayFlag = 0x2;  // RTF_GATEWAY

std::string AddressText(const sockaddr* sa) {
    if (!sa || sa->sa_family != AF_INET) return std::string();
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(sa)->sin_addr, text, sizeof text);
    return text;
}

std::string ReadWholeFile(const char* path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The last line of a program's output, without the line end.
std::string LastLine(const std::string& text) {
    const size_t end = text.find_last_not_of("\r\n");
    if (end == std::string::npos) return std::string();
    const size_t newline = text.rfind('\n', end);
    const size_t start = newline == std::string::npos ? 0 : newline + 1;
    return text.substr(start, end - start + 1);
}

}  // namespace

std::string GatewayFromRouteTable(const std::string& table, const std::string& interfaceName) {
    std::istringstream lines(table);
    std::string line;
    std::getline(lines, line);  // the header
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string iface, destination, gateway, flags, refCount, use, metric, mask;
        if (!(fields >> iface >> destination >> gateway >> flags >> refCount >> use >> metric >> mask)) continue;
        if (iface != interfaceName || destination != "00000000" || mask != "00000000") continue;
        if ((std::strtoul(flags.c_str(), nullptr, 16) & kRouteGatewayFlag) == 0) continue;
        // The table prints each address as the 32-bit word that holds it in memory.
        const uint32_t word = static_cast<uint32_t>(std::strtoul(gateway.c_str(), nullptr, 16));
        in_addr address{};
        std::memcpy(&address, &word, sizeof word);
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &address, text, sizeof text);
        return text;
    }
    return std::string();
}

int MaskPrefixLength(const std::string& mask) {
    in_addr a{};
    if (inet_pton(AF_INET, mask.c_str(), &a) != 1) return -1;
    const uint32_t bits = ntohl(a.s_addr);
    int length = 0;
    while (length < 32 && (bits & (0x80000000u >> length))) ++length;
    // The ones must be contiguous from the top.
    const uint32_t expected = length == 0 ? 0 : 0xFFFFFFFFu << (32 - length);
    return bits == expected ? length : -1;
}

std::vector<AdapterInfo> ListNetworkAdapters() {
    std::vector<AdapterInfo> adapters;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return adapters;
    const std::string routes = ReadWholeFile("/proc/net/route");
    for (const ifaddrs* a = list; a && adapters.size() < kMaxAdapters; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
        if ((a->ifa_flags & IFF_LOOPBACK) || !(a->ifa_flags & IFF_UP)) continue;
        bool listed = false;
        for (const AdapterInfo& known : adapters) listed = listed || known.name == a->ifa_name;
        if (listed) continue;  // its first address is kept
        AdapterInfo info;
        info.description = a->ifa_name;
        info.name = a->ifa_name;
        info.ipAddress = AddressText(a->ifa_addr);
        info.subnetMask = AddressText(a->ifa_netmask);
        info.gateway = GatewayFromRouteTable(routes, a->ifa_name);
        adapters.push_back(std::move(info));
    }
    freeifaddrs(list);
    return adapters;
}

// ---- NmcliAdapterConfigurator ----

bool NmcliAdapterConfigurator::Run(const std::vector<std::string>& arguments, std::string& out) {
    out.clear();
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        m_error = std::strerror(errno);
        return false;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(m_program.c_str()));
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, m_program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        m_error = spawned == ENOENT ? "找不到命令" + m_program + "：设置网卡需要NetworkManager"
                                    : m_program + "：" + std::strerror(spawned);
        return false;
    }
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(pipeFds[0], chunk, sizeof chunk);
        if (n > 0) {
            out.append(chunk, static_cast<size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    const std::string said = LastLine(out);
    m_error = said.empty() ? m_program + "失败" : said;
    return false;
}

bool NmcliAdapterConfigurator::FindAdapterConfig(const std::string& adapterName) {
    m_error.clear();
    m_connection.clear();
    std::string out;
    if (!Run({"--escape", "no", "-g", "GENERAL.CONNECTION", "device", "show", adapterName}, out)) return false;
    const std::string connection = LastLine(out);
    if (connection.empty() || connection == "--") {
        m_error = "网卡" + adapterName + "没有可设置的连接";
        return false;
    }
    m_connection = connection;
    return true;
}

bool NmcliAdapterConfigurator::SetAdapterStaticAddress(const std::string& address, const std::string& mask,
                                                       const std::string& gateway) {
    m_error.clear();
    if (m_connection.empty()) {
        m_error = "没有找到网卡";
        return false;
    }
    const int prefix = MaskPrefixLength(mask);
    if (prefix < 0) {
        m_error = "子网掩码无效：" + mask;
        return false;
    }
    std::string out;
    if (!Run({"connection", "modify", "id", m_connection, "ipv4.method", "manual", "ipv4.addresses",
              address + "/" + std::to_string(prefix), "ipv4.gateway", gateway},
             out))
        return false;
    // Activation is waited for at most 10 s.
    return Run({"-w", "10", "connection", "up", "id", m_connection}, out);
}
