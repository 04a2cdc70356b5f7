// The policy template setup installs, read as the Group Policy editors read
// it: both files well-formed, every name one of them refers to defined, and
// exactly the policies the program reads offered, under its policy key.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "src/app/policies.h"

namespace velmora::test {
namespace {

using Document = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

Document load(const char* name) {
    const std::string path = std::string(POLICY_TEMPLATE_DIR) + "/" + name;
    return Document(xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET), xmlFreeDoc);
}

// Every element named `name` ("*": any) at or below `node` and its
// siblings, in document order.
void collect(xmlNode* node, const std::string& name, std::vector<xmlNode*>& found) {
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        if (name == "*" || name == reinterpret_cast<const char*>(node->name)) found.push_back(node);
        collect(node->children, name, found);
    }
}

std::vector<xmlNode*> elements(const Document& document, const std::string& name) {
    std::vector<xmlNode*> found;
    collect(xmlDocGetRootElement(document.get()), name, found);
    return found;
}

bool has(xmlNode* element, const char* name) {
    return xmlHasProp(element, reinterpret_cast<const xmlChar*>(name)) != nullptr;
}

std::string attribute(xmlNode* element, const char* name) {
    xmlChar* value = xmlGetProp(element, reinterpret_cast<const xmlChar*>(name));
    std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

std::set<std::string> attributes(const Document& document, const char* element, const char* name) {
    std::set<std::string> values;
    for (xmlNode* found : elements(document, element))
        if (has(found, name)) values.insert(attribute(found, name));
    return values;
}

// The ids the document's attributes name as $(KIND.id).
std::set<std::string> resourceReferences(const Document& document, const std::string& kind) {
    const std::regex reference("\\$\\(" + kind + "\\.([^)]*)\\)");
    std::set<std::string> ids;
    for (xmlNode* element : elements(document, "*")) {
        for (xmlAttr* a = element->properties; a; a = a->next) {
            const std::string value = attribute(element, reinterpret_cast<const char*>(a->name));
            for (std::sregex_iterator m(value.begin(), value.end(), reference), end; m != end; ++m) ids.insert((*m)[1]);
        }
    }
    return ids;
}

struct PolicyTemplate : ::testing::Test {
    Document admx = load("VelmoraDataParser.admx");
    Document adml = load("en-US/VelmoraDataParser.adml");
};

TEST_F(PolicyTemplate, BothFilesAreWellFormedAndEveryNameTheyUseIsDefined) {
    ASSERT_TRUE(admx) << "VelmoraDataParser.admx is not well-formed XML";
    ASSERT_TRUE(adml) << "en-US/VelmoraDataParser.adml is not well-formed XML";
    // What refers, and where what it names must be defined.
    struct Use {
        std::set<std::string> names;
        const Document& definedIn;
        const char* element;
        const char* idAttribute;
    };
    const Use uses[] = {
        {resourceReferences(admx, "string"), adml, "string", "id"},
        {resourceReferences(admx, "presentation"), adml, "presentation", "id"},
        {attributes(adml, "textBox", "refId"), admx, "text", "id"},
        {attributes(admx, "parentCategory", "ref"), admx, "category", "name"},
        {attributes(admx, "supportedOn", "ref"), admx, "definition", "name"},
    };
    for (const Use& use : uses) {
        const std::set<std::string> defined = attributes(use.definedIn, use.element, use.idAttribute);
        for (const std::string& name : use.names) EXPECT_EQ(defined.count(name), 1u) << use.element << " " << name;
    }
    EXPECT_FALSE(resourceReferences(admx, "string").empty());
}

TEST_F(PolicyTemplate, OffersExactlyThePoliciesTheProgramReads) {
    ASSERT_TRUE(admx);
    std::set<std::string> offered;
    for (xmlNode* policy : elements(admx, "policy")) {
        const std::string name = attribute(policy, "name");
        EXPECT_EQ(attribute(policy, "key"), kPoliciesKeyPath) << name;
        EXPECT_EQ(attribute(policy, "class"), "Machine") << name;
        // The policy's own value and its elements' values; an element may
        // name a key of its own.
        std::vector<xmlNode*> values{policy};
        collect(policy->children, "*", values);
        for (xmlNode* value : values) {
            if (has(value, "key")) {
                EXPECT_EQ(attribute(value, "key"), kPoliciesKeyPath) << name;
            }
            if (has(value, "valueName")) offered.insert(attribute(value, "valueName"));
        }
    }
    EXPECT_EQ(offered, std::set<std::string>(kPolicyValueNames.begin(), kPolicyValueNames.end()));
}

}  // namespace
}  // namespace velmora::test
