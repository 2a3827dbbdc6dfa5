// The published JSON Schema of show descriptions agrees with pack: every key
// pack accepts is in it, and the README's example validates against it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <regex>

#include "tests/support/test_support.h"
#include "tools/lib/show_description.h"
#include "tools/lib/stored_values.h"

namespace pellora {
namespace {

using nlohmann::json;

json Load(const std::string& path) { return json::parse(test::ReadFile(path), nullptr, false); }

// Enough of JSON Schema for what the description's schema uses; returns
// the first complaint, empty when the value conforms.
std::string Check(const json& root, const json& schema, const json& value, const std::string& at) {
  if (schema.contains("$ref")) {
    std::string ref = schema["$ref"];
    return Check(root, root.at(json::json_pointer(ref.substr(1))), value, at);
  }
  if (schema.contains("oneOf")) {
    int matches = 0;
    for (const json& option : schema["oneOf"]) matches += Check(root, option, value, at).empty();
    if (matches != 1) return at + ": matches " + std::to_string(matches) + " of oneOf";
  }
  if (schema.contains("enum") && std::find(schema["enum"].begin(), schema["enum"].end(), value) == schema["enum"].end())
    return at + ": not in enum";
  if (schema.contains("const") && schema["const"] != value) return at + ": not the constant";
  if (schema.contains("type")) {
    std::string type = schema["type"];
    bool ok = (type == "object" && value.is_object()) || (type == "array" && value.is_array()) ||
              (type == "string" && value.is_string()) || (type == "boolean" && value.is_boolean()) ||
              (type == "integer" && value.is_number_integer()) || (type == "number" && value.is_number());
    if (!ok) return at + ": not of type " + type;
  }
  if (value.is_number()) {
    if (schema.contains("minimum") && value.get<double>() < schema["minimum"].get<double>()) return at + ": too small";
    if (schema.contains("maximum") && value.get<double>() > schema["maximum"].get<double>()) return at + ": too large";
  }
  if (value.is_string()) {
    const std::string& text = value.get_ref<const std::string&>();
    size_t characters = size_t(std::count_if(text.begin(), text.end(), [](char c) { return (uint8_t(c) & 0xC0) != 0x80; }));
    if (schema.contains("maxLength") && characters > schema["maxLength"].get<size_t>()) return at + ": too long";
    if (schema.contains("minLength") && characters < schema["minLength"].get<size_t>()) return at + ": too short";
    if (schema.contains("pattern") && !std::regex_search(value.get<std::string>(), std::regex(schema["pattern"].get<std::string>())))
      return at + ": does not match the pattern";
  }
  if (value.is_array() && schema.contains("items"))
    for (size_t i = 0; i < value.size(); ++i)
      if (std::string e = Check(root, schema["items"], value[i], at + "/" + std::to_string(i)); !e.empty()) return e;
  if (value.is_object()) {
    const json properties = schema.value("properties", json::object());
    for (const auto& [key, item] : value.items()) {
      if (properties.contains(key)) {
        if (std::string e = Check(root, properties[key], item, at + "/" + key); !e.empty()) return e;
      } else if (schema.value("additionalProperties", true) == false) {
        return at + ": unknown key " + key;
      }
    }
    bool conditionHolds = schema.contains("if") && Check(root, schema["if"], value, at).empty();
    if (conditionHolds && schema.contains("then"))
      if (std::string e = Check(root, schema["then"], value, at); !e.empty()) return e;
    for (const json& key : schema.value("required", json::array()))
      if (!value.contains(key.get<std::string>())) return at + ": lacks " + key.get<std::string>();
  }
  return {};
}

TEST(ShowSchema, KnowsEveryKeyPackAcceptsAndNoOther) {
  json schema = Load(std::string(PELLORA_SOURCE_DIR) + "/docs/show.schema.json");
  ASSERT_TRUE(schema.is_object());
  auto keys = [](const json& properties) {
    std::vector<std::string> names;
    for (const auto& [key, unused] : properties.items()) names.push_back(key);
    std::sort(names.begin(), names.end());
    return names;
  };
  auto sorted = [](std::span<const std::string_view> list) {
    std::vector<std::string> names(list.begin(), list.end());
    std::sort(names.begin(), names.end());
    return names;
  };
  const json& top = schema["properties"];
  EXPECT_EQ(keys(top), sorted(tools::ShowKeys()));
  EXPECT_EQ(keys(top["background"]["properties"]), sorted(tools::BackgroundKeys()));
  EXPECT_EQ(keys(top["slides"]["items"]["properties"]), sorted(tools::SlideKeys()));
  EXPECT_EQ(keys(top["stored"]["properties"]), sorted(tools::StoredShowKeys()));
  EXPECT_EQ(keys(top["slides"]["items"]["properties"]["stored"]["properties"]), sorted(tools::StoredSlideKeys()));
  EXPECT_EQ(keys(top["pictures"]["properties"]), sorted(tools::PictureKeys()));
}

TEST(ShowSchema, ReadmeExampleValidatesAndFaultsDoNot) {
  json schema = Load(std::string(PELLORA_SOURCE_DIR) + "/docs/show.schema.json");
  std::string readme = test::ReadFile(std::string(PELLORA_SOURCE_DIR) + "/README.md");
  size_t section = readme.find("## Building a show");
  ASSERT_NE(section, std::string::npos);
  size_t start = readme.find("```json\n", section);
  ASSERT_NE(start, std::string::npos);
  start += 8;
  json example = json::parse(readme.substr(start, readme.find("```", start) - start), nullptr, false);
  ASSERT_FALSE(example.is_discarded());
  EXPECT_EQ(Check(schema, schema, example, ""), "");
  // The same faults pack refuses.
  for (const char* bad : {R"({"transtion": 5})", R"({"slides": [{"duration": 2.5}]})",
                          R"({"slides": [{"transition": 19}]})", R"({"slides": [{"sound": "slide"}]})",
                          R"({"password": "123456789012345678901"})", R"({"background": {"colourA": "blue"}})",
                          R"({"slides": [{"fit": "wide"}]})", R"({"title": null})", R"({"password": "a\tb"})",
                          R"({"title": "a\u0007"})", R"({"slides": [{"soundFile": ""}]})",
                          R"({"pictures": {"maxSize": "1920"}})", R"({"pictures": {"quality": 0}})",
                          R"({"pictures": {"maxsize": "10x10"}})"})
    EXPECT_NE(Check(schema, schema, json::parse(bad), ""), "") << bad;
}

}  // namespace
}  // namespace pellora
