#include "online/server/http_server.h"

#include <microhttpd.h>

#include "online/server/os_services.h"

namespace {

MHD_Result CollectParameter(void* context, MHD_ValueKind, const char* key, size_t keySize,
                            const char* value, size_t valueSize) {
  auto* request = static_cast<TServerRequest*>(context);
  request->parameters.emplace_back(std::string(key, keySize),
                                   value ? std::string(value, valueSize) : std::string());
  return MHD_YES;
}

MHD_Result Respond(MHD_Connection* connection, const TServerReply& reply) {
  MHD_Response* response = MHD_create_response_from_buffer(
      reply.body.size(), const_cast<char*>(reply.body.data()), MHD_RESPMEM_MUST_COPY);
  if (!response) return MHD_NO;
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.contentType.c_str());
  // Scores change with every submission; a proxy or browser must not keep them.
  MHD_add_response_header(response, MHD_HTTP_HEADER_CACHE_CONTROL, "no-store");
  if (reply.status == 429) MHD_add_response_header(response, MHD_HTTP_HEADER_RETRY_AFTER, "1");
  const MHD_Result result = MHD_queue_response(connection, unsigned(reply.status), response);
  MHD_destroy_response(response);
  return result;
}

MHD_Result HandleConnection(void* context, MHD_Connection* connection, const char* url,
                            const char* method, const char* /*version*/, const char* /*uploadData*/,
                            size_t* uploadSize, void** state) {
  // The first call announces the request; answering it there would refuse a body that
  // is still to come, so a request with a body is answered once the body has been read
  // (and dropped: the protocol has none).
  static int announced;
  if (*state == nullptr) {
    *state = &announced;
    return MHD_YES;
  }
  if (*uploadSize != 0) {
    *uploadSize = 0;
    return MHD_YES;
  }
  const auto* server = static_cast<const THttpServer*>(context);
  TServerRequest request;
  request.method = method;
  request.path = url;
  MHD_get_connection_values_n(connection, MHD_GET_ARGUMENT_KIND, CollectParameter, &request);
  const MHD_ConnectionInfo* info =
      MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  request.peerAddress = SocketAddressText(info ? info->client_addr : nullptr);
  if (const char* forwarded =
          MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "X-Forwarded-For")) {
    request.forwardedFor = forwarded;
  }
  return Respond(connection, server->Answer(request));
}

}  // namespace

bool THttpServer::Start(const THttpServerOptions& options, std::string& error) {
  Stop();
  const std::shared_ptr<sockaddr> address = MakeSocketAddress(options.address, options.port);
  if (!address) {
    error = "\"" + options.address + "\" is not an IPv4 or IPv6 address";
    return false;
  }
  unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_USE_ITC;
  if (address->sa_family == AF_INET6) flags |= MHD_USE_IPv6;
  mDaemon = MHD_start_daemon(flags, 0, nullptr, nullptr, &HandleConnection, this,                //
                             MHD_OPTION_SOCK_ADDR, address.get(),                                //
                             MHD_OPTION_THREAD_POOL_SIZE, unsigned(options.threads),             //
                             MHD_OPTION_CONNECTION_MEMORY_LIMIT, options.connectionMemory,       //
                             MHD_OPTION_CONNECTION_LIMIT, options.connectionLimit,               //
                             MHD_OPTION_PER_IP_CONNECTION_LIMIT, options.connectionsPerAddress,  //
                             MHD_OPTION_CONNECTION_TIMEOUT, options.idleTimeoutSeconds,          //
                             MHD_OPTION_LISTENING_ADDRESS_REUSE, 1u,                             //
                             MHD_OPTION_END);
  if (!mDaemon) {
    error = "cannot listen on " + options.address + " port " + std::to_string(options.port) +
            " (in use, or not an address of this machine)";
    return false;
  }
  const MHD_DaemonInfo* info = MHD_get_daemon_info(mDaemon, MHD_DAEMON_INFO_BIND_PORT);
  mPort = info ? info->port : options.port;
  return true;
}

void THttpServer::Stop() {
  if (!mDaemon) return;
  // Quiescing closes the listening socket first, so no new connection is taken while
  // the requests in progress are answered.
  MHD_quiesce_daemon(mDaemon);
  MHD_stop_daemon(mDaemon);
  mDaemon = nullptr;
}
