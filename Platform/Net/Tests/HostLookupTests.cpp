#include "LoopbackPair.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace NetTest;

using HostLookup = WinSockTest;

TEST_F(HostLookup, DottedAddressAndLocalhostResolve)
{
    hostent* host = gethostbyname("127.0.0.5");
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->h_addrtype, AF_INET);
    EXPECT_EQ(host->h_length, 4);
    ASSERT_NE(host->h_addr_list[0], nullptr);
    EXPECT_EQ(std::string(inet_ntoa(*reinterpret_cast<in_addr*>(host->h_addr_list[0]))), "127.0.0.5");
    EXPECT_EQ(host->h_addr_list[1], nullptr);

    host = gethostbyname("localhost");
    ASSERT_NE(host, nullptr);
    ASSERT_NE(host->h_addr_list[0], nullptr);
    EXPECT_EQ(static_cast<unsigned char>(host->h_addr_list[0][0]), 127);
}

TEST_F(HostLookup, UnknownNamesReportHostNotFound)
{
    // Both fail inside the resolver, without a query on the network.
    EXPECT_EQ(gethostbyname(""), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSAHOST_NOT_FOUND);
    EXPECT_EQ(gethostbyname(std::string(300, 'a').c_str()), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSAHOST_NOT_FOUND);
    EXPECT_EQ(gethostbyname(nullptr), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
}

TEST_F(HostLookup, EachThreadKeepsItsOwnRecord)
{
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 1; t <= 4; ++t) {
        threads.emplace_back([t, &mismatches] {
            const std::string address = "127.0.0." + std::to_string(t);
            for (int i = 0; i < 200; ++i) {
                hostent* host = gethostbyname(address.c_str());
                if (host == nullptr || std::string(inet_ntoa(*reinterpret_cast<in_addr*>(host->h_addr_list[0]))) != address)
                    ++mismatches;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}

TEST_F(HostLookup, ReverseLookupOfLoopbackAndBadArguments)
{
    const in_addr loopback{htonl(INADDR_LOOPBACK)};
    hostent* host = gethostbyaddr(reinterpret_cast<const char*>(&loopback), 4, AF_INET);
    ASSERT_NE(host, nullptr);
    EXPECT_STRNE(host->h_name, "");
    EXPECT_EQ(reinterpret_cast<in_addr*>(host->h_addr_list[0])->s_addr, loopback.s_addr);

    EXPECT_EQ(gethostbyaddr(reinterpret_cast<const char*>(&loopback), 2, AF_INET), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
    EXPECT_EQ(gethostbyaddr(reinterpret_cast<const char*>(&loopback), 4, AF_INET6), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSAEAFNOSUPPORT);
}

TEST(HostLookupUnstarted, NeedsTheSocketLibraryStarted)
{
    EXPECT_EQ(gethostbyname("127.0.0.1"), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
}
