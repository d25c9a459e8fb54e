// A small JSON writer for mm_cli --json: one document built in order
// (objects, arrays, members), strings escaped, numbers as integers.
#pragma once

#include <string>
#include <vector>

class JsonWriter {
  public:
    // Containers: the key is used inside an object, ignored inside an array
    // and at the top.
    JsonWriter& begin_object(const std::string& key = "");
    JsonWriter& end_object();
    JsonWriter& begin_array(const std::string& key = "");
    JsonWriter& end_array();
    // Members (or array elements when key is "").
    JsonWriter& str(const std::string& key, const std::string& value);
    JsonWriter& num(const std::string& key, long value);
    JsonWriter& boolean(const std::string& key, bool value);
    JsonWriter& null(const std::string& key);
    // The document with a final line end; the containers still open are
    // closed first.
    std::string text();
    // Whether the outermost object has a member of that name.
    bool has_member(const std::string& key) const;

  private:
    void member(const std::string& key);
    std::string out_;
    std::vector<char> open_;  // '}' or ']' of each open container
    std::vector<bool> first_; // no member written yet in that container
    std::vector<std::string> top_keys_;
};

// A string as a JSON string literal, quotes included.
std::string json_quote(const std::string& text);

// Whether --json was given, and the document of the run (written to
// standard output at the end, instead of the text report).
extern bool cli_json;
JsonWriter& cli_json_doc();
// Writes the document when --json was given.
void cli_json_flush();
