#include "online/simple_http.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "online/form_encoding.h"
#include "platform/online/curl_http_transport.h"
#include "tests/online/online_test_fixture.h"
#include "tests/online/test_http_server.h"

namespace {

class SimpleHttpTest : public OnlineTest {
 protected:
  int Finish(TSimpleHttp& http, int limitMs = 10000) {
    return WaitWhile(
        kHttpInProgress, [&] { return http.GetStatus(); }, limitMs);
  }
};

TTestHandler Answer(std::string body, int status = 200) {
  return [body, status](const TTestRequest&) {
    TTestReply reply;
    reply.body = body;
    reply.status = status;
    return reply;
  };
}

TTestHandler Reply(TTestReply reply) {
  return [reply](const TTestRequest&) { return reply; };
}

TEST(FormEncodingTest, EncodesExactlyTheReservedAndControlBytes) {
  const std::string reserved = " \"#$%&+,/:;<=>?@[\\]^`{|}";
  ASSERT_EQ(reserved.size(), 24u);
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    const bool expectEncoded = byte < 0x20 || byte == 0x7F || reserved.find(c) != std::string::npos;
    char expected[4];
    std::snprintf(expected, sizeof expected, "%%%02X", byte);
    EXPECT_EQ(EncodeFormValue(std::string(1, c)), expectEncoded ? expected : std::string(1, c))
        << "byte " << byte;
  }
  EXPECT_EQ(EncodeFormValue("a b&c"), "a%20b%26c");
  EXPECT_EQ(EncodeFormValue("Zo\xe9-_.~!*'()"), "Zo\xe9-_.~!*'()");
}

TEST_F(SimpleHttpTest, GetSendsTheExactQueryAndCollectsTheBody) {
  TTestHttpServer server(Answer("<hiscore/>"));
  TSimpleHttp http;
  http.SetUrl(server.Url("/go/hiscore"), false);
  http.AddParam("n", "a b&c");
  http.AddParam("count", 500);
  http.AddParam("neg", -3);
  http.Start(TSimpleHttp::kNoCacheWrite);
  ASSERT_EQ(Finish(http), kHttpComplete);
  ASSERT_NE(http.GetResponse(), nullptr);
  EXPECT_STREQ(http.GetResponse(), "<hiscore/>");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].target, "/go/hiscore?n=a%20b%26c&count=500&neg=-3");
  EXPECT_EQ(requests[0].headers.at("user-agent"), "tvlib");
  EXPECT_EQ(requests[0].headers.count("pragma"), 0u);
}

TEST_F(SimpleHttpTest, PostSendsAFormBody) {
  TTestHttpServer server(Answer("ok"));
  TSimpleHttp http;
  http.SetUrl(server.Url("/form"), true);
  http.AddParam("a", "1");
  http.AddParam("b", "x+y=z");
  EXPECT_EQ(http.Url(), server.Url("/form"));
  http.Start(0);
  ASSERT_EQ(Finish(http), kHttpComplete);
  EXPECT_STREQ(http.GetResponse(), "ok");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].target, "/form");
  EXPECT_EQ(requests[0].body, "a=1&b=x%2By%3Dz");
  EXPECT_EQ(requests[0].headers.at("content-type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(requests[0].headers.at("pragma"), "no-cache");
}

TEST_F(SimpleHttpTest, EveryByteOfAValueReachesTheServer) {
  std::string value;
  for (int byte = 1; byte < 256; ++byte) value += static_cast<char>(byte);
  TTestHttpServer server(Answer(""));
  TSimpleHttp http;
  http.SetUrl(server.Url("/"), false);
  http.AddParam("v", value);
  http.Start(0);
  ASSERT_EQ(Finish(http), kHttpComplete);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  ASSERT_EQ(requests[0].target.rfind("/?v=", 0), 0u);
  EXPECT_EQ(PercentDecode(requests[0].target.substr(4)), value);
}

TEST_F(SimpleHttpTest, EmptyBodyAndErrorStatusesComplete) {
  {
    TTestHttpServer server(Answer(""));
    TSimpleHttp http;
    http.SetUrl(server.Url("/empty"), false);
    http.Start(0);
    ASSERT_EQ(Finish(http), kHttpComplete);
    ASSERT_NE(http.GetResponse(), nullptr);
    EXPECT_STREQ(http.GetResponse(), "");
  }
  {
    // The body of an error page still arrives; the status code is logged.
    TTestHttpServer server(Answer("<hiscore><message>busy</message></hiscore>", 503));
    TSimpleHttp http;
    http.SetUrl(server.Url("/busy"), false);
    http.Start(0);
    ASSERT_EQ(Finish(http), kHttpComplete);
    EXPECT_STREQ(http.GetResponse(), "<hiscore><message>busy</message></hiscore>");
    EXPECT_NE(LogText().find("HTTP status 503 from " + server.Url("/busy")), std::string::npos);
  }
}

TEST_F(SimpleHttpTest, NoRequestNoNetworkAndForeignSchemesFail) {
  TSimpleHttp idle;
  EXPECT_EQ(idle.GetStatus(), kHttpFailed);
  EXPECT_EQ(idle.GetResponse(), nullptr);

  TSimpleHttp http;
  http.SetUrl("file:///etc/passwd", false);
  http.Start(0);
  EXPECT_EQ(http.GetStatus(), kHttpFailed);
  EXPECT_NE(LogText().find("not an http:// or https:// address"), std::string::npos);

  SetOnlinePlatform(nullptr);
  TSimpleHttp offline;
  offline.SetUrl("http://127.0.0.1:9/", false);
  offline.Start(0);
  EXPECT_EQ(offline.GetStatus(), kHttpFailed);
  EXPECT_NE(LogText().find("no network layer"), std::string::npos);
}

TEST_F(SimpleHttpTest, SlowResponseArrivesWhole) {
  TTestReply reply;
  reply.body = std::string(6000, 'x');
  reply.chunkBytes = 1000;
  reply.delayMs = 40;
  TTestHttpServer server(Reply(reply));
  TSimpleHttp http;
  http.SetUrl(server.Url("/slow"), false);
  http.Start(0);
  EXPECT_EQ(http.GetStatus(), kHttpInProgress);
  EXPECT_EQ(http.GetResponse(), nullptr);
  ASSERT_EQ(Finish(http), kHttpComplete);
  EXPECT_EQ(std::string(http.GetResponse()), reply.body);
}

TEST_F(SimpleHttpTest, DroppedConnectionsFail) {
  {
    TTestReply reply;
    reply.kind = TTestReply::kCloseAtOnce;
    TTestHttpServer server(Reply(reply));
    TSimpleHttp http;
    http.SetUrl(server.Url("/drop"), false);
    http.Start(0);
    EXPECT_EQ(Finish(http), kHttpFailed);
  }
  {
    // What arrived before the break is kept, but the request still failed.
    TTestReply reply;
    reply.kind = TTestReply::kCloseMidBody;
    reply.body = std::string(1000, 'y');
    TTestHttpServer server(Reply(reply));
    TSimpleHttp http;
    http.SetUrl(server.Url("/half"), false);
    http.Start(0);
    EXPECT_EQ(Finish(http), kHttpFailed);
    ASSERT_NE(http.GetResponse(), nullptr);
    EXPECT_EQ(std::string(http.GetResponse()), std::string(500, 'y'));
    EXPECT_NE(LogText().find("broke off after 500 bytes"), std::string::npos);
  }
}

TEST_F(SimpleHttpTest, RefusedConnectionFails) {
  int port;
  {
    TTestHttpServer server(Answer(""));
    port = server.Port();
  }  // nothing listens there any more
  TSimpleHttp http;
  http.SetUrl("http://127.0.0.1:" + std::to_string(port) + "/", false);
  http.Start(0);
  EXPECT_EQ(Finish(http), kHttpFailed);
  EXPECT_NE(LogText().find("Error creating connection (InternetOpenUrl) 7"), std::string::npos);
}

TEST_F(SimpleHttpTest, ServerThatNeverAnswersTimesOut) {
  SetSetting("http_timeout_ms", "700");
  TTestReply reply;
  reply.kind = TTestReply::kNeverAnswer;
  TTestHttpServer server(Reply(reply));
  TSimpleHttp http;
  http.SetUrl(server.Url("/silent"), false);
  const auto start = std::chrono::steady_clock::now();
  http.Start(0);
  EXPECT_EQ(Finish(http), kHttpFailed);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(600));
  EXPECT_NE(LogText().find("Error creating connection (InternetOpenUrl) 28"), std::string::npos);
}

TEST_F(SimpleHttpTest, OversizedResponseFails) {
  SetSetting("http_max_response_bytes", "100000");
  TTestHttpServer server(Answer(std::string(300000, 'z')));
  TSimpleHttp http;
  http.SetUrl(server.Url("/huge"), false);
  http.Start(0);
  EXPECT_EQ(Finish(http), kHttpFailed);
  ASSERT_NE(http.GetResponse(), nullptr);
  EXPECT_LE(std::string(http.GetResponse()).size(), 100000u);
  EXPECT_NE(LogText().find("the response is larger than 100000 bytes"), std::string::npos);
}

TEST_F(SimpleHttpTest, ResponseIntoAFile) {
  const std::string body(70000, 'f');
  TTestHttpServer server(Answer(body));
  TSimpleHttp http;
  http.SetUrl(server.Url("/file"), false, "user:downloads/table.xml");
  http.Start(0);
  ASSERT_EQ(Finish(http), kHttpComplete);
  EXPECT_EQ(http.GetResponse(), nullptr);  // nothing was kept in memory
  EXPECT_EQ(ReadDiskFile(folder / "downloads" / "table.xml"), body);

  // A file that cannot be opened gives status 3 without a request.
  SetFileSystemFolders("", "", "");
  TSimpleHttp nowhere;
  nowhere.SetUrl(server.Url("/file"), false, "user:table.xml");
  nowhere.Start(0);
  EXPECT_EQ(nowhere.GetStatus(), kHttpFileFailed);
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(SimpleHttpTest, StartAbandonsTheRunningRequest) {
  TTestHttpServer server([](const TTestRequest& request) {
    TTestReply reply;
    if (request.target == "/hang")
      reply.kind = TTestReply::kNeverAnswer;
    else
      reply.body = "second";
    return reply;
  });
  TSimpleHttp http;
  http.SetUrl(server.Url("/hang"), false);
  http.Start(0);
  EXPECT_EQ(WaitWhile(0, [&] { return server.Connections(); }), 1);
  http.SetUrl(server.Url("/next"), false);
  EXPECT_EQ(http.GetStatus(), kHttpFailed);  // the hanging request is gone
  http.Start(0);
  ASSERT_EQ(Finish(http), kHttpComplete);
  EXPECT_STREQ(http.GetResponse(), "second");
  // The abandoned thread notices and ends well before its total timeout.
  EXPECT_TRUE(WaitForHttpRequests(5000));
}

// Threads of this process as the system lists them (an exiting thread stays listed until
// it is gone).
size_t ProcessThreads() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
    ++count;
  return count;
}

TEST_F(SimpleHttpTest, RequestThreadsAreJoinedSoNoneIsLeftWhenTheProgramExits) {
  const size_t before = ProcessThreads();
  {
    TTestHttpServer server([](const TTestRequest& request) {
      TTestReply reply;
      if (request.target == "/hang")
        reply.kind = TTestReply::kNeverAnswer;
      else
        reply.body = "ok";
      return reply;
    });
    TSimpleHttp hanging;
    hanging.SetUrl(server.Url("/hang"), false);
    hanging.Start(0);
    TSimpleHttp http;
    constexpr int kRequests = 20;
    for (int i = 0; i < kRequests; ++i) {
      http.SetUrl(server.Url("/ok"), false);
      http.Start(0);
      ASSERT_EQ(Finish(http), kHttpComplete) << "request " << i;
    }
    // Each start joins the threads that have ended, so they do not pile up.
    EXPECT_LT(LiveHttpRequestThreads(), 6u);
    EXPECT_FALSE(WaitForHttpRequests(100)) << "the hanging request still runs";
    hanging.SetUrl("", false);  // abandoned: it stops at its next progress report
    EXPECT_TRUE(WaitForHttpRequests(5000));
    EXPECT_EQ(LiveHttpRequestThreads(), 0u);
  }
  // Every request thread has been joined, not merely told to end.
  EXPECT_EQ(ProcessThreads(), before);
}

TEST_F(SimpleHttpTest, TransportHandsTheBodyOverIn32KiBPieces) {
  TTestHttpServer server(Answer(std::string(200000, 'p')));
  struct TRecorder : THttpReceiver {
    size_t total = 0, largest = 0, pieces = 0;
    bool Receive(const char*, size_t size) override {
      total += size;
      largest = std::max(largest, size);
      ++pieces;
      return true;
    }
    bool Cancelled() const override { return false; }
  } recorder;
  TCurlHttpTransport transport;
  THttpTransfer transfer;
  transfer.url = server.Url("/pieces");
  const THttpResult result = transport.Perform(transfer, recorder);
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.httpStatus, 200);
  EXPECT_EQ(recorder.total, 200000u);
  EXPECT_LE(recorder.largest, kHttpChunkBytes);
  EXPECT_GE(recorder.pieces, 7u);
}

class SimpleHttpsTest : public SimpleHttpTest {};

TEST_F(SimpleHttpsTest, SelfSignedServerIsRefusedByDefault) {
  TTestTlsIdentity identity("127.0.0.1");
  TTestHttpServer server(Answer("<hiscore/>"), &identity);
  TSimpleHttp http;
  http.SetUrl(server.Url("/go/hiscore"), false);
  http.Start(TSimpleHttp::kAcceptWrongHostName);  // the flag alone relaxes nothing
  EXPECT_EQ(Finish(http), kHttpFailed);
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_NE(LogText().find("Error creating connection (HTTPS)"), std::string::npos);
}

TEST_F(SimpleHttpsTest, TestSettingAcceptsTheCertificate) {
  SetSetting("http_allow_unverified_tls", "1");
  TTestTlsIdentity identity("127.0.0.1");
  TTestHttpServer server(Answer("<hiscore/>"), &identity);
  TSimpleHttp http;
  http.SetUrl(server.Url("/go/hiscore"), true);
  http.AddParam("action", "tables");
  http.Start(0);
  ASSERT_EQ(Finish(http), kHttpComplete);
  EXPECT_STREQ(http.GetResponse(), "<hiscore/>");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].body, "action=tables");
  EXPECT_EQ(requests[0].headers.at("pragma"), "no-cache");
}

TEST_F(SimpleHttpsTest, ServerHangingUpWhileTheBodyIsSentFailsQuietly) {
  // The server reads at most 1 MiB of a body and closes: the rest of the upload meets a
  // closed connection, which must fail the request rather than end the program.
  SetSetting("http_allow_unverified_tls", "1");
  TTestTlsIdentity identity("127.0.0.1");
  TTestReply reply;
  reply.kind = TTestReply::kCloseAtOnce;
  TTestHttpServer server(Reply(reply), &identity);
  TSimpleHttp http;
  http.SetUrl(server.Url("/upload"), true);
  http.AddParam("blob", std::string(4 << 20, 'b'));
  http.Start(0);
  EXPECT_EQ(Finish(http), kHttpFailed);
}

TEST_F(SimpleHttpsTest, WrongHostNameNeedsTheRequestFlagToo) {
  SetSetting("http_allow_unverified_tls", "1");
  TTestTlsIdentity identity("wrong.invalid");
  TTestHttpServer server(Answer("named"), &identity);
  TSimpleHttp http;
  http.SetUrl(server.Url("/"), false);
  http.Start(0);
  EXPECT_EQ(Finish(http), kHttpFailed);
  http.Start(TSimpleHttp::kAcceptWrongHostName);
  ASSERT_EQ(Finish(http), kHttpComplete);
  EXPECT_STREQ(http.GetResponse(), "named");
}

}  // namespace
