#include "online/server/hiscore_request_handler.h"

#include <algorithm>
#include <chrono>
#include <map>

#include "online/server/enciphered_xml.h"
#include "online/server/field_rules.h"
#include "online/server/hiscore_reply.h"
#include "online/server/server_metrics.h"

namespace {

constexpr char kHiscorePath[] = "/go/hiscore";
constexpr size_t kMaxParameters = 16;

double SteadySeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

TServerReply Refused(int status, std::string body, std::string outcome, std::string reason) {
  TServerReply reply;
  reply.status = status;
  reply.body = std::move(body);
  reply.outcome = std::move(outcome);
  reply.reason = std::move(reason);
  return reply;
}

TServerReply BadRequest(const std::string& text, std::string reason) {
  return Refused(400, ProtocolErrorReply(text), "protocol_error", std::move(reason));
}

TServerReply FromAnswer(THiscoreAnswer answer) {
  using TKind = THiscoreAnswer::TKind;
  TServerReply reply;
  reply.body = std::move(answer.body);
  reply.reason = std::move(answer.reason);
  reply.detail = std::move(answer.detail);
  switch (answer.kind) {
    case TKind::kOk:
      reply.outcome = "ok";
      break;
    case TKind::kMessage:
      // A refusal for the player to read, not a fault of the request.
      reply.outcome = "message";
      break;
    case TKind::kProtocolError:
      reply.status = 400;
      reply.outcome = "protocol_error";
      break;
    case TKind::kUnavailable:
      reply.status = 503;
      reply.outcome = "unavailable";
      break;
  }
  return reply;
}

// The query's parameters by name, once each.
class TParameters {
 public:
  // False with a protocol error in *refusal when the parameters break the rules.
  bool Read(const TServerRequest& request, const THiscoreLimits& limits, TServerReply* refusal) {
    if (request.parameters.size() > kMaxParameters) {
      *refusal = BadRequest("Too many parameters", "too_many_parameters");
      return false;
    }
    for (const auto& [name, value] : request.parameters) {
      const bool enciphered = name == "score" || name == "medals";
      const size_t cap = enciphered ? limits.maxCipherLength : limits.maxParameterLength;
      if (name.size() > 32 || value.size() > cap) {
        *refusal = BadRequest("Parameter too long: " + name.substr(0, 32), "too_long");
        return false;
      }
      if (!mValues.emplace(name, value).second) {
        *refusal = BadRequest("Repeated parameter: " + name, "repeated_parameter");
        return false;
      }
    }
    return true;
  }

  const std::string* Find(const std::string& name) const {
    auto found = mValues.find(name);
    return found == mValues.end() ? nullptr : &found->second;
  }
  std::string Get(const std::string& name) const {
    const std::string* value = Find(name);
    return value ? *value : std::string();
  }

 private:
  std::map<std::string, std::string> mValues;
};

}  // namespace

THiscoreRequestHandler::THiscoreRequestHandler(THiscoreService& service,
                                               const TServerMetrics* metrics)
    : mService(service),
      mMetrics(metrics),
      mReads(service.Config().limits.readsPerSecond, service.Config().limits.readBurst),
      mSubmits(service.Config().limits.submitsPerSecond, service.Config().limits.submitBurst) {}

std::string THiscoreRequestHandler::ClientAddress(const TServerRequest& request) const {
  const std::vector<std::string>& proxies = mService.Config().trustedProxies;
  if (request.forwardedFor.empty() ||
      std::find(proxies.begin(), proxies.end(), request.peerAddress) == proxies.end()) {
    return request.peerAddress;
  }
  // The proxy appends the address it saw last; earlier entries come from the client and
  // prove nothing.
  std::string last = request.forwardedFor.substr(request.forwardedFor.rfind(',') + 1);
  last.erase(0, last.find_first_not_of(' '));
  last.erase(last.find_last_not_of(' ') + 1);
  return last.empty() ? request.peerAddress : last;
}

TServerReply THiscoreRequestHandler::Handle(const TServerRequest& request) {
  TServerReply reply;
  if (request.path == kHiscorePath) return HandleHiscore(request);
  if (request.method != "GET" && request.method != "HEAD") {
    reply = Refused(405, "", "bad_method", "bad_method");
  } else if (request.path == "/health") {
    reply.action = "health";
    reply.contentType = "text/plain";
    if (mService.Healthy()) {
      reply.body = "ok\n";
    } else {
      reply.status = 503;
      reply.outcome = "unavailable";
      reply.body = "database unavailable\n";
    }
    return reply;
  } else if (request.path == "/metrics" && mMetrics) {
    reply.action = "metrics";
    reply.contentType = "text/plain; version=0.0.4";
    reply.body = mMetrics->Render();
    return reply;
  } else {
    reply = Refused(404, "", "not_found", "");
  }
  reply.contentType = "text/plain";
  return reply;
}

TServerReply THiscoreRequestHandler::HandleHiscore(const TServerRequest& request) {
  const THiscoreConfig& config = mService.Config();
  TServerReply refusal;
  if (request.method != "GET" && request.method != "HEAD") {
    refusal = Refused(405, ProtocolErrorReply("Only GET requests are served"), "bad_method",
                      "bad_method");
    return refusal;
  }
  TParameters parameters;
  if (!parameters.Read(request, config.limits, &refusal)) return refusal;

  const std::string action = parameters.Get("action");
  const std::string game = parameters.Get("game");
  const bool read = action == "tables" || action == "get";
  const bool write = action == "submit" || action == "medals";
  TServerReply reply;
  if (!read && !write) {
    reply = action.empty() ? BadRequest("Missing required parameter: action", "missing_action")
                           : BadRequest("Unknown action", "unknown_action");
    return reply;
  }
  auto finish = [&](TServerReply done) {
    done.action = action;
    done.logFields = "game=" + game.substr(0, 64);
    if (const std::string* type = parameters.Find("type")) done.logFields += " type=" + *type;
    if (const std::string* table = parameters.Find("table")) done.logFields += " table=" + *table;
    return done;
  };
  if (const std::string* version = parameters.Find("ver"); version && *version != "1.0") {
    return finish(BadRequest("Unsupported protocol version", "bad_version"));
  }
  if (const std::string* language = parameters.Find("lang"); language && !IsToken(*language, 16)) {
    return finish(BadRequest("Invalid value of parameter: lang", "bad_language"));
  }
  if (game.empty()) return finish(BadRequest("Missing required parameter: game", "missing_game"));
  const THiscoreGame* known = config.FindGame(game);
  if (!known) return finish(BadRequest("Unknown game", "unknown_game"));

  TRateLimiter& limiter = read ? mReads : mSubmits;
  if (!limiter.Allow(ClientAddress(request), SteadySeconds())) {
    return finish(Refused(429,
                          MessageReply("hiscore.error.tooManyRequests",
                                       "Too many requests. Please wait a moment and try again."),
                          "limited", "rate_limited"));
  }

  if (action == "tables") return finish(FromAnswer(mService.Tables(game)));

  if (action == "get") {
    TScoresQuery query;
    query.game = game;
    query.category = parameters.Get("type");
    if (const std::string* table = parameters.Find("table")) query.tableId = *table;
    if (const std::string* count = parameters.Find("numScores")) {
      query.numScores = ParseDecimal(*count, 0, INT32_MAX);
      if (!query.numScores) {
        return finish(BadRequest("Invalid value of parameter: numScores", "bad_count"));
      }
    }
    query.username = parameters.Get("username");
    return finish(FromAnswer(mService.Scores(query)));
  }

  const std::string* cipherText = parameters.Find(action == "submit" ? "score" : "medals");
  if (!cipherText) {
    return finish(BadRequest(
        "Missing required parameter: " + std::string(action == "submit" ? "score" : "medals"),
        "missing_xml"));
  }
  std::string error;
  const std::optional<std::string> xml = DecipherParameter(*cipherText, known->key, error);
  if (!xml) return finish(BadRequest("Malformed enciphered parameter: " + error, "bad_cipher"));
  if (action == "submit") {
    TScoreSubmission submission;
    submission.game = game;
    if (!ReadScoreXml(*xml, submission, error)) {
      return finish(BadRequest("Malformed score: " + error, "bad_xml"));
    }
    return finish(FromAnswer(mService.SubmitScore(submission)));
  }
  TMedalSubmission submission;
  submission.game = game;
  if (!ReadMedalsXml(*xml, submission, error)) {
    return finish(BadRequest("Malformed medals: " + error, "bad_xml"));
  }
  return finish(FromAnswer(mService.SubmitMedals(submission)));
}
