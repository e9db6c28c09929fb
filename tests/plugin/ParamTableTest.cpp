// The parameter table against the README's: every row names the parameter of its id, with the
// table's default, range and step values, so the documentation cannot drift from the code. And the
// chain's default settings are the table's defaults through the parameter mapping.
#include "plugin/QuorvaneParamTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

struct ReadmeRow {
  std::string name, range;
};

// The rows "| id | Parameter | Range (default) |" of the README's parameter table, by id.
std::map<int, ReadmeRow> ReadmeParameterRows() {
  std::ifstream readme(QV_README);
  std::map<int, ReadmeRow> rows;
  const std::regex row(R"(^\| (\d+) \| ([^|]+) \| ([^|]+) \|$)");
  bool inTable = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind("| id | Parameter | Range (default) |", 0) == 0) inTable = true;
    std::smatch m;
    if (inTable && std::regex_match(line, m, row)) rows[std::stoi(m[1])] = {m[2], m[3]};
    if (inTable && line.empty()) break;
  }
  return rows;
}

std::vector<double> Numbers(const std::string& text) {
  std::vector<double> values;
  const std::regex number(R"(-?\d+(\.\d+)?)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it)
    values.push_back(std::stod(it->str()));
  return values;
}

TEST(ParamTable, TheReadmeTableIsTheCodeTable) {
  const std::map<int, ReadmeRow> rows = ReadmeParameterRows();
  ASSERT_EQ(rows.size(), std::size(kQuorvaneParamTable)) << "rows read from " << QV_README;
  for (const QuorvaneParamRow& p : kQuorvaneParamTable) {
    ASSERT_EQ(rows.count(p.idx), 1u) << p.name;
    const ReadmeRow& r = rows.at(p.idx);
    EXPECT_EQ(r.name, p.name) << "id " << p.idx;
    // "(default)" closes every range.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(r.range, m, std::regex(R"(\((-?[\d.]+)\)$)"))) << r.range;
    EXPECT_EQ(std::stod(m[1]), p.def) << p.name;
    // "min..max" opens it where the README states a range ("0..5: 0.1, 0.3, ... ms" for steps).
    if (std::regex_search(r.range, m, std::regex(R"(^(-?[\d.]+?)\.\.(-?[\d.]+))"))) {
      EXPECT_EQ(std::stod(m[1]), p.min) << p.name;
      EXPECT_EQ(std::stod(m[2]), p.max) << p.name;
    }
    const size_t colon = r.range.find(':');
    if (p.steps) {
      ASSERT_NE(colon, std::string::npos) << p.name << ": the README lists no step values";
      const std::vector<double> listed = Numbers(r.range.substr(colon + 1, r.range.rfind('(') - colon - 1));
      ASSERT_EQ(listed.size(), static_cast<size_t>(p.max - p.min + 1)) << p.name;
      for (size_t i = 0; i < listed.size(); ++i) EXPECT_EQ(listed[i], p.steps[i]) << p.name << " step " << i;
    }
  }
}

TEST(ParamTable, DefaultSettingsAreTheDefaultsThroughTheMapping) {
  QuorvaneSettings fromMapping;
  // A sweep of every parameter to its default changes nothing, and a bad value changes nothing.
  QuorvaneSettings swept;
  for (const QuorvaneParamRow& p : kQuorvaneParamTable) ApplyQuorvaneParam(swept, p.idx, p.def);
  ApplyQuorvaneParam(swept, QuorvaneParams::kRatio, 6.0);
  ApplyQuorvaneParam(swept, QuorvaneParams::kMakeUpGain, NAN);
  EXPECT_EQ(std::memcmp(&swept, &fromMapping, sizeof swept), 0);
  EXPECT_EQ(fromMapping.makeUpGain, 1.0);
  EXPECT_EQ(fromMapping.ratio, 1.5);
  EXPECT_EQ(fromMapping.thresholdPos, 15.0);
  EXPECT_EQ(fromMapping.kneeFactor, 0.95);
}

}  // namespace
