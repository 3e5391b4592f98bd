// A small JSON reader, enough of the format for the reference results the accuracy
// tests compare against.
#pragma once

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// A JSON value: enough of the format for the reference file.
struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;

    const Json& operator[](const std::string& key) const {
        static const Json none;
        auto it = fields.find(key);
        return it == fields.end() ? none : it->second;
    }
};

class JsonReader {
public:
    explicit JsonReader(const std::string& s) : s_(s) {}

    bool parse(Json& out) {
        if (!value(out)) return false;
        space();
        return at_ == s_.size();
    }

private:
    void space() {
        while (at_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[at_]))) ++at_;
    }
    bool eat(char c) {
        space();
        if (at_ < s_.size() && s_[at_] == c) return ++at_, true;
        return false;
    }
    bool string(std::string& out) {
        if (!eat('"')) return false;
        for (; at_ < s_.size() && s_[at_] != '"'; ++at_) {
            if (s_[at_] == '\\' && ++at_ >= s_.size()) return false;
            out += s_[at_];  // escapes kept as the escaped character; the file needs no more
        }
        return at_++ < s_.size();
    }
    bool value(Json& v) {
        space();
        if (at_ >= s_.size()) return false;
        const char c = s_[at_];
        if (c == '{') {
            v.kind = Json::Object;
            ++at_;
            if (eat('}')) return true;
            do {
                std::string key;
                if (!string(key) || !eat(':') || !value(v.fields[key])) return false;
            } while (eat(','));
            return eat('}');
        }
        if (c == '[') {
            v.kind = Json::Array;
            ++at_;
            if (eat(']')) return true;
            do {
                v.items.emplace_back();
                if (!value(v.items.back())) return false;
            } while (eat(','));
            return eat(']');
        }
        if (c == '"') return v.kind = Json::String, string(v.text);
        for (const char* word : {"true", "false", "null"})
            if (s_.compare(at_, std::strlen(word), word) == 0) {
                at_ += std::strlen(word);
                v.kind = word[0] == 'n' ? Json::Null : Json::Bool;
                v.number = word[0] == 't';
                return true;
            }
        char* end = nullptr;
        v.number = std::strtod(s_.c_str() + at_, &end);
        if (end == s_.c_str() + at_) return false;
        v.kind = Json::Number;
        at_ = static_cast<size_t>(end - s_.c_str());
        return true;
    }

    const std::string& s_;
    size_t at_ = 0;
};

}  // namespace testing_support
