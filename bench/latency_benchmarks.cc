// SPDX-License-Identifier: MIT
#include "bench/latency_benchmarks.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench/engine_process.h"

namespace kv::bench {

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

// Nearest-rank percentile of sorted values.
double Percentile(const std::vector<double>& sorted, double fraction) {
    const auto rank =
        static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

void ReportLatencies(benchmark::State& state, std::vector<double> milliseconds) {
    if (milliseconds.empty()) {
        return;
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    state.counters["keys"] = static_cast<double>(milliseconds.size());
    state.counters["median_ms"] = Percentile(milliseconds, 0.5);
    state.counters["p90_ms"] = Percentile(milliseconds, 0.9);
    state.counters["p99_ms"] = Percentile(milliseconds, 0.99);
    state.counters["max_ms"] = milliseconds.back();
}

// The median of the framework's reply to the timed keys, beside the latency of what they show:
// where the framework sends the preedit or the commit after its reply, the two differ.
void ReportReplyMedian(benchmark::State& state, std::vector<double> milliseconds) {
    if (milliseconds.empty()) {
        return;
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    state.counters["reply_median_ms"] = Percentile(milliseconds, 0.5);
}

// The client and the codes every measurement shares, in the order they run.
class Session {
  public:
    Session(LatencyBenchOptions options, LatencyFramework framework)
        : _options(std::move(options)), _framework(std::move(framework)) {}

    const LatencyBenchOptions& options() const { return _options; }

    // The connected client, or nothing (and the benchmark skipped) without a framework.
    LatencyClient* client(benchmark::State& state) {
        if (!_client) {
            _client = _framework.connect(_options);
        }
        if (!_client->connected()) {
            state.SkipWithError(std::string(_framework.unreachable).c_str());
            return nullptr;
        }
        return _client.get();
    }

    // The client with `engine` selected on a focused context.
    LatencyClient* typingClient(benchmark::State& state, const std::string& engine) {
        LatencyClient* const client = this->client(state);
        if (client == nullptr) {
            return nullptr;
        }
        if (!client->focus() ||
            (client->currentEngine() != engine && !client->selectEngine(engine))) {
            state.SkipWithError(("the framework cannot select " + engine).c_str());
            return nullptr;
        }
        return client;
    }

    // The codes in turn, from the first again after the last.
    const TypedCode& nextCode() {
        const TypedCode& code = _options.codes[_next];
        _next = (_next + 1) % _options.codes.size();
        return code;
    }

  private:
    LatencyBenchOptions _options;
    LatencyFramework _framework;
    std::unique_ptr<LatencyClient> _client;
    std::size_t _next = 0;
};

// Opens the candidate list of the typed code and commits the candidate of the selection key;
// the result of the selection key.
KeyResult ChooseCandidate(LatencyClient& client, const LatencyBenchOptions& options) {
    if (options.showCandidatesKey) {
        if (!client.type(*options.showCandidatesKey, Awaited::Reply).answered) {
            return {};
        }
    }
    return client.type(options.selectKey, Awaited::Commit);
}

void BM_StartToReady(benchmark::State& state, Session& session) {
    LatencyClient* const client = session.client(state);
    if (client == nullptr) {
        return;
    }
    const LatencyBenchOptions& options = session.options();
    for (auto _ : state) {
        if (client->engineStarted()) {
            state.SkipWithError("the engine already runs: start to ready needs a fresh framework");
            break;
        }
        if (!client->focus()) {
            state.SkipWithError("the framework refused an input context");
            break;
        }
        const Clock::time_point start = Clock::now();
        if (!client->selectEngine(options.engine)) {
            state.SkipWithError("the framework cannot select the engine");
            break;
        }
        const Clock::duration selected = Clock::now() - start;
        const KeyResult first = client->type(options.codes.front().code.front(), Awaited::Preedit);
        if (!first.toPreedit) {
            state.SkipWithError("the engine did not answer its first key");
            break;
        }
        const Clock::duration ready = first.sent + *first.toPreedit - start;
        state.SetIterationTime(Seconds(ready));
        state.counters["select_ms"] = Milliseconds(selected);
        state.counters["first_key_ms"] = Milliseconds(*first.toPreedit);
        state.counters["start_to_ready_ms"] = Milliseconds(ready);
        client->type('\x1b', Awaited::Reply);
    }
    state.SetLabel(options.engine);
}

void BM_KeyToPreedit(benchmark::State& state, Session& session) {
    const LatencyBenchOptions& options = session.options();
    LatencyClient* const client = session.typingClient(state, options.engine);
    if (client == nullptr) {
        return;
    }
    std::vector<double> latencies;
    std::vector<double> replies;
    const TypedCode* code = &session.nextCode();
    std::size_t typed = 0;
    for (auto _ : state) {
        const KeyResult key = client->type(code->code[typed], Awaited::Preedit);
        if (!key.answered || !key.toPreedit) {
            state.SkipWithError(("no preedit for a key of " + code->code).c_str());
            break;
        }
        state.SetIterationTime(Seconds(*key.toPreedit));
        latencies.push_back(Milliseconds(*key.toPreedit));
        replies.push_back(Milliseconds(key.toReply.value_or(Clock::duration{})));
        // A whole code is committed, so the candidate list opens and closes as in real typing.
        if (++typed == code->code.size()) {
            if (!ChooseCandidate(*client, options).toCommit) {
                state.SkipWithError(("nothing committed for " + code->code).c_str());
                break;
            }
            code = &session.nextCode();
            typed = 0;
        }
    }
    if (typed > 0) {
        client->type('\x1b', Awaited::Reply);
    }
    ReportLatencies(state, std::move(latencies));
    ReportReplyMedian(state, std::move(replies));
    state.SetLabel(options.engine);
}

void BM_KeyToCommit(benchmark::State& state, Session& session) {
    const LatencyBenchOptions& options = session.options();
    LatencyClient* const client = session.typingClient(state, options.engine);
    if (client == nullptr) {
        return;
    }
    std::vector<double> latencies;
    std::vector<double> replies;
    std::size_t wrongCommits = 0;
    for (auto _ : state) {
        const TypedCode& code = session.nextCode();
        bool composed = true;
        for (const char key : code.code) {
            composed = composed && client->type(key, Awaited::Preedit).toPreedit.has_value();
        }
        const KeyResult choice = composed ? ChooseCandidate(*client, options) : KeyResult{};
        if (!choice.toCommit) {
            state.SkipWithError(("nothing committed for " + code.code).c_str());
            break;
        }
        wrongCommits += choice.committed == code.expected ? 0 : 1;
        state.SetIterationTime(Seconds(*choice.toCommit));
        latencies.push_back(Milliseconds(*choice.toCommit));
        replies.push_back(Milliseconds(choice.toReply.value_or(Clock::duration{})));
    }
    ReportLatencies(state, std::move(latencies));
    ReportReplyMedian(state, std::move(replies));
    // Both engines must commit the same candidate for the comparison to hold.
    state.counters["wrong_commits"] = static_cast<double>(wrongCommits);
    state.SetLabel(options.engine);
}

// The floor: what the framework, the bus and the client cost a key that is not taken, with
// nothing composed (Escape), by the floor's engine. Key to preedit and key to commit are read
// against it.
void BM_PassThrough(benchmark::State& state, Session& session) {
    const LatencyBenchOptions& options = session.options();
    const std::string& engine = options.floorEngine.empty() ? options.engine : options.floorEngine;
    LatencyClient* const client = session.typingClient(state, engine);
    if (client == nullptr) {
        return;
    }
    std::vector<double> latencies;
    for (auto _ : state) {
        const KeyResult key = client->type('\x1b', Awaited::Reply);
        if (!key.answered || !key.toReply) {
            state.SkipWithError("no reply for a key passed through");
            break;
        }
        if (key.handled) {
            state.SkipWithError("the engine took Escape with nothing composed");
            break;
        }
        state.SetIterationTime(Seconds(*key.toReply));
        latencies.push_back(Milliseconds(*key.toReply));
    }
    ReportLatencies(state, std::move(latencies));
    state.SetLabel(engine);
}

// Resident memory splits into private pages (the heap: tables, caches) and pages of mapped
// files (libraries, fonts) that other processes may share.
bool ReportMemory(benchmark::State& state, pid_t pid) {
    for (const auto& [field, counter] :
         {std::pair{"VmRSS", "rss_MiB"}, std::pair{"VmHWM", "peak_rss_MiB"},
          std::pair{"RssAnon", "rss_private_MiB"}, std::pair{"RssFile", "rss_files_MiB"}}) {
        const std::optional<double> bytes = StatusBytes(pid, field);
        if (!bytes) {
            return false;
        }
        state.counters[counter] = *bytes / kMiB;
    }
    return true;
}

void BM_EngineMemory(benchmark::State& state, Session& session) {
    LatencyClient* const client = session.client(state);
    const std::optional<pid_t> pid =
        client != nullptr ? client->engineProcess() : std::optional<pid_t>{};
    for (auto _ : state) {
        if (!pid) {
            state.SkipWithError("the engine process is not running");
            break;
        }
        if (!ReportMemory(state, *pid)) {
            state.SkipWithError("the engine's memory cannot be read");
            break;
        }
    }
    state.SetLabel(session.options().engine);
}

// Registered in the order they must run: start-up needs the engine not yet started, memory is
// read after the keys.
void RegisterBenchmarks(Session& session) {
    const auto keys = static_cast<benchmark::IterationCount>(session.options().keys);
    benchmark::RegisterBenchmark("BM_StartToReady", BM_StartToReady, std::ref(session))
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_KeyToPreedit", BM_KeyToPreedit, std::ref(session))
        ->Iterations(keys)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_KeyToCommit", BM_KeyToCommit, std::ref(session))
        ->Iterations(keys)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_PassThrough", BM_PassThrough, std::ref(session))
        ->Iterations(keys)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_EngineMemory", BM_EngineMemory, std::ref(session))
        ->Iterations(1);
}

}  // namespace

int RunLatencyBenchmarks(int argc, char** argv, LatencyFramework framework) {
    benchmark::Initialize(&argc, argv);
    std::optional<LatencyBenchOptions> options =
        ParseLatencyBenchOptions(argc, argv, framework.defaults, framework.usage);
    if (!options) {
        return 2;
    }
    Session session(std::move(*options), std::move(framework));
    RegisterBenchmarks(session);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace kv::bench
