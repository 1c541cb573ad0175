// A test dictionary written by the builder's writer, stored search rows included, beside one
// laid out from the same rows without them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "dictionary_writer.h"
#include "tests/engine/test_dictionary.h"

namespace quorvi::testing {

// Lays out `plain` (the table's rows only) and `stored` (with the stored search rows) from
// `rows`; a failure is a test failure.
inline void layOutPlainAndStored(const std::filesystem::path& plain,
                                 const std::filesystem::path& stored,
                                 const std::vector<DictionaryRow>& rows) {
  ASSERT_EQ(layOutRuntimeFolder(plain, rows), "");
  ASSERT_EQ(layOutRuntimeFolder(stored, {}), "");
  dictbuild::DictionaryWriter writer;
  ASSERT_TRUE(
      writer.begin((stored / "dict" / "words.db").string(), dictbuild::StorageDesign::Split, 4096));
  for (const DictionaryRow& row : rows)
    ASSERT_TRUE(writer.add(*row.caption, *row.phonetic, *row.explain, row.american.value_or("")));
  ASSERT_TRUE(writer.finish()) << writer.error();
}

}  // namespace quorvi::testing
