#include "platform/net/internet_errors.h"

namespace platform {

InternetError InternetErrorOf(CURLcode result) {
  switch (result) {
    case CURLE_OPERATION_TIMEDOUT:
      return {12002, QStringLiteral("The operation timed out")};
    case CURLE_URL_MALFORMAT:
      return {12005, QStringLiteral("The URL is invalid")};
    case CURLE_UNSUPPORTED_PROTOCOL:
      return {12006, QStringLiteral("The URL does not use a recognized protocol")};
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return {12007, QStringLiteral("The server name could not be resolved")};
    case CURLE_COULDNT_CONNECT:
      return {12029, QStringLiteral("A connection with the server could not be established")};
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_ABORTED_BY_CALLBACK:
      return {12030, QStringLiteral("The connection with the server was terminated abnormally")};
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
      return {12152, QStringLiteral("The server returned an invalid or unrecognized response")};
    default:
      return {12004, QStringLiteral("An internal error occurred in the internet client")};
  }
}

}  // namespace platform
