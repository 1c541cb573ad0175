// The REGEXP module: a loadable SQL extension that gives the connection the function
// regexp(pattern, value), which the SQL engine calls for "value REGEXP pattern".
//
// Dialect: PCRE2 in UTF-8 mode, unanchored (matches anywhere in the value), case-insensitive.
// Each pattern is compiled (and JIT-compiled) once per statement and kept as the function's
// auxiliary data. A NULL pattern or value never matches. A pattern that does not compile, or a
// match that runs into the backtracking limits, ends the statement with an error whose message
// starts with "regexp: ". So does a statement whose matching as a whole costs more than a
// second of processor time: each row may stay under the per-match limits and the rows together
// still take minutes, while the window runs a search on every keystroke.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include "regexp/regexp_dialect.h"

#include <time.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr size_t kJitStackStart = 32 * 1024;
constexpr size_t kJitStackMax = 1024 * 1024;
// Bound on one statement: processor time of the calling thread from the statement's first
// match on (the compiled pattern lives as long as one run of the statement). An honest pattern
// scans the whole dictionary in a few tens of milliseconds.
constexpr std::int64_t kStatementBudgetNs = 1000000000;

std::atomic<long> compileCount{0};

struct CompiledPattern {
  pcre2_code* code = nullptr;
  pcre2_match_data* matchData = nullptr;
  pcre2_match_context* matchContext = nullptr;
  pcre2_jit_stack* jitStack = nullptr;
  std::int64_t startedNs = 0;  // thread processor time at the first match

  ~CompiledPattern() {
    pcre2_match_data_free(matchData);
    pcre2_match_context_free(matchContext);
    pcre2_jit_stack_free(jitStack);
    pcre2_code_free(code);
  }
};

std::int64_t threadCpuNs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void freeCompiledPattern(void* p) {
  delete static_cast<CompiledPattern*>(p);
}

std::string pcreMessage(int errorCode) {
  PCRE2_UCHAR buffer[256];
  if (pcre2_get_error_message(errorCode, buffer, sizeof buffer) < 0) return "unknown error";
  return reinterpret_cast<const char*>(buffer);
}

// Compiles `pattern`; on failure returns null and sets `error`.
CompiledPattern* compilePattern(const char* pattern, int bytes, std::string& error) {
  ++compileCount;
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code =
      pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), static_cast<PCRE2_SIZE>(bytes),
                    quorvi::regexp::kCompileOptions, &errorCode, &errorOffset, nullptr);
  if (code == nullptr) {
    char offset[32];
    std::snprintf(offset, sizeof offset, "%zu", static_cast<size_t>(errorOffset));
    error = std::string("regexp: bad pattern at offset ") + offset + ": " + pcreMessage(errorCode);
    return nullptr;
  }
  auto* compiled = new CompiledPattern;
  compiled->code = code;
  compiled->matchData = pcre2_match_data_create(1, nullptr);
  compiled->matchContext = pcre2_match_context_create(nullptr);
  if (compiled->matchData == nullptr || compiled->matchContext == nullptr) {
    delete compiled;
    error = "regexp: out of memory";
    return nullptr;
  }
  quorvi::regexp::applyMatchLimits(compiled->matchContext);
  // Without JIT the interpreter runs the same pattern, only slower.
  if (pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0) {
    compiled->jitStack = pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr);
    if (compiled->jitStack != nullptr)
      pcre2_jit_stack_assign(compiled->matchContext, nullptr, compiled->jitStack);
  }
  compiled->startedNs = threadCpuNs();
  return compiled;
}

// The compiled pattern of argv[0] for this statement, compiled on the first row; null after
// setting the statement's error.
CompiledPattern* patternFor(sqlite3_context* context, sqlite3_value** argv) {
  auto* compiled = static_cast<CompiledPattern*>(sqlite3_get_auxdata(context, 0));
  if (compiled != nullptr) return compiled;
  const char* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  if (pattern == nullptr) {
    sqlite3_result_error_nomem(context);
    return nullptr;
  }
  std::string error;
  compiled = compilePattern(pattern, sqlite3_value_bytes(argv[0]), error);
  if (compiled == nullptr) {
    sqlite3_result_error(context, error.c_str(), -1);
    return nullptr;
  }
  // SQLite keeps it for the following rows while the pattern stays the same (a constant or
  // a bound parameter); it may also free it at once, so read it back.
  sqlite3_set_auxdata(context, 0, compiled, freeCompiledPattern);
  compiled = static_cast<CompiledPattern*>(sqlite3_get_auxdata(context, 0));
  if (compiled == nullptr) sqlite3_result_error_nomem(context);
  return compiled;
}

void reportMatch(sqlite3_context* context, int rc) {
  if (rc >= 0) {
    sqlite3_result_int(context, 1);
  } else if (rc == PCRE2_ERROR_NOMATCH) {
    sqlite3_result_int(context, 0);
  } else if (quorvi::regexp::reachedMatchLimit(rc)) {
    const std::string error =
        "regexp: pattern too complex, backtracking limit reached (" + pcreMessage(rc) + ")";
    sqlite3_result_error(context, error.c_str(), -1);
  } else {
    const std::string error = "regexp: match failed: " + pcreMessage(rc);
    sqlite3_result_error(context, error.c_str(), -1);
  }
}

void regexpFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (argc != 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL ||
      sqlite3_value_type(argv[1]) == SQLITE_NULL) {
    sqlite3_result_int(context, 0);
    return;
  }
  CompiledPattern* compiled = patternFor(context, argv);
  if (compiled == nullptr) return;
  if (threadCpuNs() - compiled->startedNs > kStatementBudgetNs) {
    sqlite3_result_error(context,
                         "regexp: pattern too costly, the search used up its time of matching", -1);
    return;
  }
  const unsigned char* value = sqlite3_value_text(argv[1]);
  if (value == nullptr) {
    sqlite3_result_int(context, 0);
    return;
  }
  const int length = sqlite3_value_bytes(argv[1]);
  reportMatch(context, pcre2_match(compiled->code, value, static_cast<PCRE2_SIZE>(length), 0, 0,
                                   compiled->matchData, compiled->matchContext));
}

}  // namespace

// How many patterns this module has compiled since it was loaded.
extern "C" __attribute__((visibility("default"))) long quorvi_regexp_compile_count() {
  return compileCount.load();
}

extern "C" __attribute__((visibility("default"))) int sqlite3_extension_init(
    sqlite3* db, char** errorMessage, const sqlite3_api_routines* api) {
  SQLITE_EXTENSION_INIT2(api);
  (void)errorMessage;
  return sqlite3_create_function(db, "regexp", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                 regexpFunction, nullptr, nullptr);
}
