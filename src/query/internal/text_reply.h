// The Engine 1 text query: the request "\status\" and its reply of
// \key\value pairs in one or more datagrams, each ending with
// \queryid\Q.P (P counts the datagrams from 1), the last one with \final\.
// Datagrams may come in any order; a lost \final\ leaves the reply
// incomplete but still an answer once the server's info is in. A reply is
// complete when its datagrams are in up to \final\ and they hold the
// server's info. A server that answers the parts of "\status\" (basic,
// info, rules, players) under query ids of their own never says which part
// is the last: such a reply is read until it falls quiet.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "query/reply_reader.h"

namespace query {

class TextReplyReader : public ReplyReader {
 public:
  std::vector<QByteArray> Requests() const override;
  Progress Take(std::string_view datagram) override;
  bool HasInfo() const override;
  ServerInfo Answer() const override;
  QString Error() const override { return error_; }

 private:
  using Pairs = std::vector<std::pair<std::string, std::string>>;
  Progress Fail(const QString& why);
  bool AllPartsIn() const;

  struct IdReply {
    std::map<int, Pairs> parts;  // by packet number P
    int finalPart = 0;           // P of the datagram with \final\; 0 before it came
  };
  // Query ids are counters: "9" comes before "10".
  struct CounterOrder {
    bool operator()(const std::string& a, const std::string& b) const {
      return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
  };
  std::map<std::string, IdReply, CounterOrder> answers_;  // by query id Q
  std::vector<Pairs> unnumbered_;          // datagrams without a query id, in arrival order
  bool unnumberedFinal_ = false;
  size_t bytes_ = 0;
  bool hasInfo_ = false;
  QString error_;
};

// The \key\value pairs of one datagram, in order. A trailing key without a
// value gets an empty one.
std::vector<std::pair<std::string, std::string>> SplitTextPairs(std::string_view datagram);

}  // namespace query
