// Feeds arbitrary requests to the high-score request handler over an in-memory SQLite
// store. The first byte picks the form of the rest:
//   0  query parameters, one "name=value" per line
//   1  the XML of a submit request (enciphered with the game's key, as the game does)
//   2  the XML of a medals request (likewise)
// Whatever comes in, the answer must be an XML document with the root "hiscore", and a
// refused request must leave the stored scores as they were.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "data/prefs_cipher.h"
#include "files/xml_node.h"
#include "online/server/hiscore_request_handler.h"
#include "online/server/sqlite_store.h"

namespace {

constexpr char kKey[] = "KPlaxRD7wAAA";

struct TFuzzServer {
  TFuzzServer()
      : stores(StoreOpener<TSqliteStore>(":memory:")),
        service(Config(), stores),
        handler(service, nullptr) {}

  static THiscoreConfig Config() {
    THiscoreConfig config = THiscoreConfig::Default();
    config.passwordCost = {1, 8192};
    config.limits.readsPerSecond = 0;
    config.limits.submitsPerSecond = 0;
    config.limits.tableRows = 10;
    return config;
  }

  // The revisions of both boards: they change with every stored score.
  std::pair<int64_t, int64_t> Revisions() {
    std::string error;
    TStorePool::TLease store = stores.Acquire(&error);
    return {store->Revision({"mahjongcuriomar", "mahjongcuriomar_adventure"}).value_or(-1),
            store->Revision({"mahjongcuriomar", "mahjongcuriomar_web"}).value_or(-1)};
  }

  TStorePool stores;
  THiscoreService service;
  THiscoreRequestHandler handler;
};

void AddLines(std::string_view text, TServerRequest& request) {
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    const size_t equals = line.find('=');
    request.parameters.emplace_back(
        std::string(line.substr(0, equals)),
        equals == std::string_view::npos ? std::string() : std::string(line.substr(equals + 1)));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFuzzServer* server = new TFuzzServer;
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  TServerRequest request;
  request.method = "GET";
  request.path = "/go/hiscore";
  request.peerAddress = "127.0.0.1";
  switch (data[0] % 3) {
    case 0:
      AddLines(rest, request);
      break;
    case 1:
      request.parameters = {{"lang", "en"},
                            {"ver", "1.0"},
                            {"game", "mahjongcuriomar"},
                            {"action", "submit"},
                            {"score", TPrefsCipher(kKey).EncryptText(rest)}};
      break;
    default:
      request.parameters = {{"lang", "en"},
                            {"ver", "1.0"},
                            {"game", "mahjongcuriomar"},
                            {"action", "medals"},
                            {"medals", TPrefsCipher(kKey).EncryptText(rest)}};
      break;
  }
  const auto before = server->Revisions();
  const TServerReply reply = server->handler.Handle(request);
  TXmlNode document;
  document.Parse(reply.body);
  const TXmlNode* root = document.FindChild("hiscore");
  if (!root) __builtin_trap();
  const bool refused = root->FindChild("message") || root->FindChild("protocolError");
  if (refused != (reply.outcome != "ok")) __builtin_trap();
  if (refused && server->Revisions() != before) __builtin_trap();
  return 0;
}
