// Text routines the transfer paths share for URLs and local paths. URL
// routines work on the text alone (no escaping, no validation). Local paths
// use the platform's separator ("/"; on Windows also "\" and ":").
#pragma once
#include <QString>

// "http://" + user + ":" + password + "@" + rest, when the url begins with
// "http://" in any letter case and both user and password are given.
QString AddProxyCredentials(const QString& url, const QString& user, const QString& password);
// The text after the last "/" or "\"; empty when the url ends with one.
QString FileNameOfURL(const QString& url);
// The host (with any ":port") between the scheme, the credentials and the
// path. Credentials end with an "@" before the path; an "@" in the path or
// query is part of them.
QString HostOfURL(const QString& url);
// Everything from the first "/" after the host on, query included.
QString PathOfURL(const QString& url);

// `name` inside `dir`, without doubling a separator.
QString JoinPath(const QString& dir, const QString& name);
// Everything up to and including the last separator; empty without one.
QString DirectoryPartOf(const QString& path);
// Creates `path` and its missing parents. Throws platform::IoError
// "Cannot create directory" for an empty path.
bool ForceDirectories(const QString& path);
