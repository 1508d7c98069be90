#pragma once
// Running part of a test in a child process that differs from the test's
// own in one way: it runs as an ordinary user, or it has mounts of its own.
// The child's failed expectations are printed by the child and fail the
// test in the parent.

#include <functional>
#include <string>

namespace galmora::testing {

// The user (and group) that a test runs as when the tests run as root.
inline constexpr unsigned kUnprivilegedId = 65534;

// Runs body as an ordinary user, so that permission bits apply to it: as it
// is when the tests run as an ordinary user, else in a child that gives up
// root for kUnprivilegedId after folder (a test's temporary folder, with
// everything in it) has been handed to that user.
void run_unprivileged(const std::string& folder, const std::function<void()>& body);

// Moves the calling process (a child: this cannot be undone) into namespaces
// of its own; flags are CLONE_NEW* flags and must include CLONE_NEWNS. As
// root directly, else inside a user namespace in which the test's user is
// root. Mounts made afterwards never reach the rest of the machine.
bool enter_own_namespaces(int flags);

// Runs body in a child with a mount namespace of its own, where it may bind
// folders without touching the machine's mounts. False (body not run) when
// this machine cannot give a test one; why then says why.
bool run_with_own_mounts(const std::function<void()>& body, std::string& why);

}  // namespace galmora::testing
