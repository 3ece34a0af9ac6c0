#include "SimulatorSocketAdapter.h"
#include "FakeLineServer.h"
#include "SimulatedQmx4600.h"
#include "SimulatorFixture.h"
#include "TestSockets.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>

namespace {

class SimulatorSocketAdapterTest : public SimulatorFixture {
protected:
    int32_t Connect() {
        int32_t status = AdapterStatus::AlsoDone;
        EXPECT_EQ(adapter.ConnectUSB(status), 0);
        return status;
    }

    AdapterResult Write(uint8_t sub, std::vector<uint8_t> bytes, int32_t& status) {
        return adapter.WriteI2CBlock(0x1B, sub, static_cast<int32_t>(bytes.size()), bytes, status);
    }

    AdapterResult Read(uint8_t sub, int count, std::vector<uint8_t>& bytes, int32_t& status) {
        bytes.assign(static_cast<size_t>(count), 0);
        return adapter.ReadI2CBlock(0x1B, sub, count, bytes, status);
    }

    SimulatorSocketAdapter adapter;
};

TEST_F(SimulatorSocketAdapterTest, CarriesTheFourCallsToTheSimulator) {
    StartSimulator();
    EXPECT_EQ(Connect(), AdapterStatus::Done);
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Write(0xD9, {0x00, 0x00, 0x00, 0x50}, status), 0);
    EXPECT_EQ(status, AdapterStatus::Done);
    std::vector<uint8_t> bytes;
    status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Read(0xD9, 4, bytes, status), 0);
    EXPECT_EQ(status, AdapterStatus::Done);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x50}));
    std::string text;
    EXPECT_EQ(adapter.ResetPulse(text), 0);
    EXPECT_EQ(text, "reset done");
    EXPECT_EQ(TakeLog(),
              (std::vector<std::string>{"CONNECT -> STATUS 0", "WRITE 1b d9 4 00 00 00 50 -> STATUS 0",
                                        "READ 1b d9 4 -> STATUS 0", "RESET -> OK"}));
    EXPECT_EQ(Read(0xD9, 4, bytes, status), 0);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x48}))
        << "the reset restores power-on contents";
}

TEST_F(SimulatorSocketAdapterTest, ReadThatIsNotAcknowledgedStillBringsItsBytes) {
    StartSimulator();
    ASSERT_EQ(Ask("SIM NACK d9"), "OK");
    EXPECT_EQ(Connect(), AdapterStatus::Done);
    std::vector<uint8_t> bytes;
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Read(0xD9, 4, bytes, status), 0);
    EXPECT_EQ(status, SimulatedQmx4600::NotAcknowledged);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(SimulatorSocketAdapterTest, UnpluggedSimulatorAnswersNoAdapter) {
    StartSimulator();
    ASSERT_EQ(Ask("SIM UNPLUG"), "OK");
    EXPECT_EQ(Connect(), AdapterStatus::NoAdapter);
    ASSERT_EQ(Ask("SIM PLUG"), "OK");
    EXPECT_EQ(Connect(), AdapterStatus::Done);
}

TEST_F(SimulatorSocketAdapterTest, NoSocketOrNobodyListeningIsNoAdapter) {
    EXPECT_EQ(Connect(), AdapterStatus::NoAdapter) << "no socket file";

    // A socket file left behind by a simulator that is gone.
    LeaveStaleSocket(socketPath);
    EXPECT_EQ(Connect(), AdapterStatus::NoAdapter) << "connection refused";

    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Write(0xD9, {0x01}, status), 0);
    EXPECT_EQ(status, AdapterStatus::NoAdapter);
    std::string text;
    EXPECT_EQ(adapter.ResetPulse(text), 0);
    EXPECT_EQ(text, "no adapter: reset not sent");
}

TEST_F(SimulatorSocketAdapterTest, SimulatorGoneIsAnAdapterFailureThenNoAdapter) {
    StartSimulator();
    EXPECT_EQ(Connect(), AdapterStatus::Done);
    simulator.Stop();
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_LT(Write(0xD9, {0x01, 0x02, 0x03, 0x04}, status), 0);
    status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Write(0xD9, {0x01, 0x02, 0x03, 0x04}, status), 0);
    EXPECT_EQ(status, AdapterStatus::NoAdapter);
    EXPECT_EQ(Connect(), AdapterStatus::NoAdapter);
}

struct BadReplyCase {
    const char* what;
    FakeLineServer::Response response;
    AdapterResult result;
};

// Whatever the other end gets wrong, each call ends in a negative result,
// never in a status or in bytes that were not sent.
TEST_F(SimulatorSocketAdapterTest, BadRepliesAreAdapterFailures) {
    const BadReplyCase cases[] = {
        {"ERROR reply", {FakeLineServer::Action::Reply, "ERROR cannot parse"}, -EPROTO},
        {"connection closed", {FakeLineServer::Action::Close, ""}, -ECONNRESET},
        {"unknown reply", {FakeLineServer::Action::Reply, "HELLO"}, -EPROTO},
        {"status not a number", {FakeLineServer::Action::Reply, "STATUS x"}, -EPROTO},
        {"read with bytes missing", {FakeLineServer::Action::Reply, "STATUS 0"}, -EPROTO},
        {"byte not hexadecimal", {FakeLineServer::Action::Reply, "STATUS 0 zz 00"}, -EPROTO},
    };
    for (const BadReplyCase& c : cases) {
        SCOPED_TRACE(c.what);
        bool connected = false;
        FakeLineServer server(socketPath, [&](const std::string& request) {
            if (request == "CONNECT" && !connected) {
                connected = true;
                return FakeLineServer::Response{FakeLineServer::Action::Reply, "STATUS 0"};
            }
            return c.response;
        });
        ASSERT_EQ(Connect(), AdapterStatus::Done);
        std::vector<uint8_t> bytes = {0x5A, 0x5A};
        int32_t status = AdapterStatus::AlsoDone;
        EXPECT_EQ(adapter.ReadI2CBlock(0x1B, 0x51, 2, bytes, status), c.result);
        EXPECT_EQ(status, AdapterStatus::AlsoDone);
        EXPECT_EQ(bytes, (std::vector<uint8_t>{0x5A, 0x5A})) << "bytes are left alone";
        ::unlink(socketPath.c_str());
    }
}

TEST_F(SimulatorSocketAdapterTest, ErrorReplyToConnectOrWriteIsAnAdapterFailure) {
    std::atomic<bool> connected = false;
    FakeLineServer server(socketPath, [&](const std::string&) {
        const bool first = !connected.exchange(true);
        return FakeLineServer::Response{FakeLineServer::Action::Reply, first ? "STATUS 0" : "ERROR no"};
    });
    ASSERT_EQ(Connect(), AdapterStatus::Done);
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(adapter.ConnectUSB(status), -EPROTO);
    EXPECT_EQ(Write(0xD9, {0x01}, status), -EPROTO) << "an ERROR reply keeps the connection";
    EXPECT_EQ(status, AdapterStatus::AlsoDone);
    std::string text;
    EXPECT_EQ(adapter.ResetPulse(text), -EPROTO);
}

struct FailedQueryCase {
    const char* what;
    FakeLineServer::Clients clients;
    FakeLineServer::Response answer; // to the second CONNECT
    std::chrono::milliseconds delay; // before that answer
    AdapterResult result;
    int32_t status; // what the query leaves in the caller's status
};

// The connect query is asked again whenever USB devices come or go. When it
// fails, or answers neither 0 nor 7, the connection in use carries on: the
// write after it goes through, and the late answer to the query is never
// taken for the write's reply.
TEST_F(SimulatorSocketAdapterTest, FailedConnectQueryKeepsTheWorkingConnection) {
    using Action = FakeLineServer::Action;
    using Clients = FakeLineServer::Clients;
    using namespace std::chrono_literals;
    const FailedQueryCase cases[] = {
        {"answered after the timeout",
         Clients::AllAtOnce,
         {Action::Reply, "STATUS 0"},
         1300ms,
         -ETIMEDOUT,
         AdapterStatus::AlsoDone},
        {"never answered",
         Clients::AllAtOnce,
         {Action::Silence, ""},
         0ms,
         -ETIMEDOUT,
         AdapterStatus::AlsoDone},
        {"server busy with the first connection",
         Clients::OneAtATime,
         {Action::Reply, "STATUS 0"},
         0ms,
         -ETIMEDOUT,
         AdapterStatus::AlsoDone},
        {"ERROR reply",
         Clients::AllAtOnce,
         {Action::Reply, "ERROR busy"},
         0ms,
         -EPROTO,
         AdapterStatus::AlsoDone},
        {"connection closed",
         Clients::AllAtOnce,
         {Action::Close, ""},
         0ms,
         -ECONNRESET,
         AdapterStatus::AlsoDone},
        {"malformed reply",
         Clients::AllAtOnce,
         {Action::Reply, "STATUS"},
         0ms,
         -EPROTO,
         AdapterStatus::AlsoDone},
        {"neither ready nor absent", Clients::AllAtOnce, {Action::Reply, "STATUS 3"}, 0ms, 0, 3},
    };
    for (const FailedQueryCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::atomic<int> connects = 0;
        std::vector<std::string> writes; // written by the server's thread for the first connection
        {
            FakeLineServer server(
                socketPath,
                [&](const std::string& request) {
                    if (request != "CONNECT") {
                        writes.push_back(request);
                        return FakeLineServer::Response{Action::Reply,
                                                        request == "RESET" ? "OK" : "STATUS 0"};
                    }
                    if (connects++ == 0)
                        return FakeLineServer::Response{Action::Reply, "STATUS 0"};
                    std::this_thread::sleep_for(c.delay);
                    return c.answer;
                },
                c.clients);
            ASSERT_EQ(Connect(), AdapterStatus::Done);
            int32_t status = AdapterStatus::AlsoDone;
            EXPECT_EQ(adapter.ConnectUSB(status), c.result);
            EXPECT_EQ(status, c.status);
            status = AdapterStatus::AlsoDone;
            EXPECT_EQ(Write(0xD9, {0x01}, status), 0);
            EXPECT_EQ(status, AdapterStatus::Done);
            std::string text;
            EXPECT_EQ(adapter.ResetPulse(text), 0) << "the connection in use still answers";
        }
        EXPECT_EQ(writes, (std::vector<std::string>{"WRITE 1b d9 1 01", "RESET"}));
        ::unlink(socketPath.c_str());
    }
}

// A query that does answer replaces the connection: with 0 the new one
// serves, with 7 (or the socket gone) the calls report no adapter.
TEST_F(SimulatorSocketAdapterTest, AnsweredConnectQueryReplacesTheConnection) {
    StartSimulator();
    EXPECT_EQ(Connect(), AdapterStatus::Done);
    EXPECT_EQ(Connect(), AdapterStatus::Done);
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Write(0xD9, {0x01, 0x02, 0x03, 0x04}, status), 0);
    EXPECT_EQ(status, AdapterStatus::Done);
    ASSERT_EQ(Ask("SIM UNPLUG"), "OK");
    EXPECT_EQ(Connect(), AdapterStatus::NoAdapter);
    ASSERT_EQ(Ask("SIM PLUG"), "OK");
    control.Close();
    simulator.Stop();
    EXPECT_EQ(Connect(), AdapterStatus::NoAdapter) << "no socket";
    status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Write(0xD9, {0x01}, status), 0);
    EXPECT_EQ(status, AdapterStatus::NoAdapter);
}

// A server that has stopped (a simulator under SIGSTOP): its socket listens,
// but nobody accepts or reads. With `fullBacklog` the one connection the
// kernel queues for a backlog of 0 is taken, so the next connect must wait.
class StalledServer {
public:
    StalledServer(const std::string& socketPath, bool fullBacklog) {
        const sockaddr_un address = TestSocketAddress(socketPath);
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        EXPECT_EQ(::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(listener_, fullBacklog ? 0 : 4), 0);
        if (fullBacklog) {
            queued_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            EXPECT_EQ(::connect(queued_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        }
    }
    ~StalledServer() {
        Close();
        if (queued_ >= 0)
            ::close(queued_);
    }

    // The call's result. Should it still wait after far longer than any
    // timeout here, the server goes away, which ends the wait with a result
    // other than a timeout, so the test fails rather than hangs.
    int Call(const std::function<int()>& call) {
        std::future<int> result = std::async(std::launch::async, call);
        if (result.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
            Close();
        return result.get();
    }

private:
    void Close() {
        if (listener_ >= 0)
            ::close(listener_);
        listener_ = -1;
    }

    int listener_ = -1;
    int queued_ = -1;
};

TEST_F(SimulatorSocketAdapterTest, ConnectToAStalledServerTimesOut) {
    StalledServer server(socketPath, true);
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(server.Call([&] { return adapter.ConnectUSB(status); }), -ETIMEDOUT);
    EXPECT_EQ(status, AdapterStatus::AlsoDone);
}

TEST_F(SimulatorSocketAdapterTest, SendToAServerThatNeverReadsTimesOut) {
    StalledServer server(socketPath, false);
    LineConnection connection;
    ASSERT_EQ(connection.Connect(socketPath, SimulatorSocketAdapter::ReplyTimeout), 0)
        << "the kernel queues the connection";
    const std::string line(4 << 20, 'A'); // far more than the socket buffers take
    EXPECT_EQ(server.Call([&] { return connection.SendLine(line, SimulatorSocketAdapter::ReplyTimeout); }),
              -ETIMEDOUT);
}

// A reply line ended by "\r\n" is a reply all the same.
TEST_F(SimulatorSocketAdapterTest, CarriageReturnBeforeTheLineFeedIsTakenOff) {
    FakeLineServer server(socketPath, [](const std::string& request) {
        return FakeLineServer::Response{FakeLineServer::Action::Reply,
                                        request == "CONNECT" ? "STATUS 0\r" : "STATUS 0 6c\r"};
    });
    EXPECT_EQ(Connect(), AdapterStatus::Done);
    std::vector<uint8_t> bytes;
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Read(0x00, 1, bytes, status), 0);
    EXPECT_EQ(status, AdapterStatus::Done);
    EXPECT_EQ(bytes, std::vector<uint8_t>{0x6C});
}

// One reply per request: a second line for the same request would otherwise
// be taken as the reply to the next one, and every reply after it would be
// one request late.
TEST_F(SimulatorSocketAdapterTest, ExtraReplyLineFailsTheNextRequest) {
    FakeLineServer server(socketPath, [](const std::string& request) {
        return FakeLineServer::Response{FakeLineServer::Action::Reply,
                                        request == "CONNECT" ? "STATUS 0\nSTATUS 0 ff" : "STATUS 0 6c"};
    });
    EXPECT_EQ(Connect(), AdapterStatus::Done);
    std::vector<uint8_t> bytes = {0x5A};
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(adapter.ReadI2CBlock(0x1B, 0x00, 1, bytes, status), -EPROTO);
    EXPECT_EQ(bytes, std::vector<uint8_t>{0x5A});
    EXPECT_EQ(status, AdapterStatus::AlsoDone);
    EXPECT_EQ(adapter.ReadI2CBlock(0x1B, 0x00, 1, bytes, status), 0);
    EXPECT_EQ(status, AdapterStatus::NoAdapter) << "the connection is dropped";
}

TEST_F(SimulatorSocketAdapterTest, ServerThatNeverAnswersTimesOut) {
    FakeLineServer server(socketPath, [](const std::string& request) {
        return request == "CONNECT" ? FakeLineServer::Response{FakeLineServer::Action::Reply, "STATUS 0"}
                                    : FakeLineServer::Response{FakeLineServer::Action::Silence, ""};
    });
    ASSERT_EQ(Connect(), AdapterStatus::Done);
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Write(0xD9, {0x01, 0x02, 0x03, 0x04}, status), -ETIMEDOUT);
    EXPECT_EQ(status, AdapterStatus::AlsoDone);
}

} // namespace
