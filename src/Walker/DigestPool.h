#pragma once

class ThreadPool;

// The threads on which every content-digest separation of the process computes its digests.
// A separation is started for every same-size set, so its operation queue borrows these
// threads instead of making its own; each queue still keeps its own limit.
namespace DigestPool {

// Digests one separation computes at once.
constexpr int kDigestsPerSeparation = 4;

// Made on first use, lives for the whole process; safe to call from any thread.
ThreadPool* shared();

} // namespace DigestPool
