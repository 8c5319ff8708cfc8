#include "results/read/html_text.h"

#include <libxml/HTMLparser.h>

#include <climits>
#include <string>
#include <utility>

#include "results/read/owners.h"

namespace {

bool NameIs(const xmlNode* node, const char* name) {
  return xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

bool IsBlock(const xmlNode* node) {
  static const char* const kBlocks[] = {"p",  "div", "tr", "li", "h1",         "h2",     "h3",
                                        "h4", "h5",  "h6", "ul", "ol",         "table",  "pre",
                                        "dl", "dt",  "dd", "hr", "blockquote", "address"};
  for (const char* block : kBlocks) {
    if (NameIs(node, block)) return true;
  }
  return false;
}

class TextCollector {
 public:
  void Walk(const xmlNode* node, bool preformatted) {
    for (; node != nullptr; node = node->next) {
      if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
        AddText(reinterpret_cast<const char*>(node->content), preformatted);
      } else if (node->type == XML_ELEMENT_NODE) {
        if (NameIs(node, "script") || NameIs(node, "style") || NameIs(node, "head")) continue;
        if (NameIs(node, "br")) {
          Break();
          continue;
        }
        const bool block = IsBlock(node);
        if (block) EndLine();
        Walk(node->children, preformatted || NameIs(node, "pre"));
        if (block) EndLine();
      }
    }
  }

  std::string Take() { return std::move(text_); }

 private:
  void AddText(const char* content, bool preformatted) {
    if (content == nullptr) return;
    for (std::string_view rest = content; !rest.empty();) {
      // U+00A0, the no-break space of "&nbsp;", lines labels up like a space.
      if (rest.substr(0, 2) == "\xC2\xA0") {
        rest.remove_prefix(2);
        text_ += ' ';
        continue;
      }
      const char c = rest[0];
      rest.remove_prefix(1);
      const bool white = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
      if (preformatted) {
        if (c != '\r') text_ += c;
      } else if (!white) {
        text_ += c;
      } else if (!text_.empty() && text_.back() != ' ' && text_.back() != '\n') {
        text_ += ' ';
      }
    }
  }
  void Break() { text_ += '\n'; }
  void EndLine() {
    if (!text_.empty() && text_.back() != '\n') text_ += '\n';
  }

  std::string text_;
};

}  // namespace

std::string HtmlToText(std::string_view html) {
  if (html.empty() || html.size() > static_cast<std::size_t>(INT_MAX)) return std::string();
  // libxml2 readies itself once, before threads may parse side by side.
  static const bool ready = (xmlInitParser(), true);
  static_cast<void>(ready);
  // No network, no error output: a mail's HTML is nobody's to fetch or report.
  const XmlDocPtr document(htmlReadMemory(
      html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
      HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET));
  if (!document) return std::string();
  TextCollector collector;
  collector.Walk(xmlDocGetRootElement(document.get()), false);
  return collector.Take();
}
