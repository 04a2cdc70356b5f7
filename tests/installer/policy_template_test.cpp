// The policy template setup installs, read as the Group Policy editors read
// it: both files well-formed, every name one of them uses defined, and
// exactly the policies the program reads offered, under its policy key.
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <set>
#include <string>

#include "src/app/policies.h"

namespace velmora::test {
namespace {

using Document = std::shared_ptr<xmlDoc>;
using Names = std::set<std::string>;

Document load(const char* name) {
    const std::string path = std::string(POLICY_TEMPLATE_DIR) + "/" + name;
    return Document(xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET), xmlFreeDoc);
}

// The values of the attributes an XPath selects (elements by local name:
// //*[local-name()='x']), as $(KIND.id) references give `kind` ("": whole).
Names values(const Document& document, const std::string& path, const std::string& kind = "") {
    Names found;
    std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context(xmlXPathNewContext(document.get()),
                                                                             xmlXPathFreeContext);
    std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> result(
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(path.c_str()), context.get()), xmlXPathFreeObject);
    const std::regex reference("\\$\\(" + kind + "\\.([^)]*)\\)");
    for (int i = 0; result && result->nodesetval && i < result->nodesetval->nodeNr; ++i) {
        xmlChar* text = xmlNodeGetContent(result->nodesetval->nodeTab[i]);
        const std::string value = reinterpret_cast<const char*>(text);
        xmlFree(text);
        if (kind.empty()) found.insert(value);
        for (std::sregex_iterator m(value.begin(), value.end(), reference), end; !kind.empty() && m != end; ++m)
            found.insert((*m)[1]);
    }
    return found;
}

std::string of(const char* element, const char* attribute) {
    return std::string("//*[local-name()='") + element + "']/@" + attribute;
}

TEST(PolicyTemplate, BothFilesAreWellFormedAndEveryNameTheyUseIsDefined) {
    const Document admx = load("VelmoraDataParser.admx"), adml = load("en-US/VelmoraDataParser.adml");
    ASSERT_TRUE(admx && adml) << "not well-formed XML";
    // What uses a name, and where that name must be defined.
    const struct {
        Names used;
        const Document& definedIn;
        std::string definition;
    } uses[] = {
        {values(admx, "//@*", "string"), adml, of("string", "id")},
        {values(admx, "//@*", "presentation"), adml, of("presentation", "id")},
        {values(adml, of("textBox", "refId")), admx, of("text", "id")},
        {values(admx, of("parentCategory", "ref")), admx, of("category", "name")},
        {values(admx, of("supportedOn", "ref")), admx, of("definition", "name")},
    };
    for (const auto& use : uses) {
        EXPECT_FALSE(use.used.empty()) << use.definition;
        const Names defined = values(use.definedIn, use.definition);
        for (const std::string& name : use.used) EXPECT_EQ(defined.count(name), 1u) << use.definition << " " << name;
    }
}

TEST(PolicyTemplate, OffersExactlyThePoliciesTheProgramReadsUnderItsKey) {
    const Document admx = load("VelmoraDataParser.admx");
    ASSERT_TRUE(admx);
    const std::string policies = "//*[local-name()='policy']";
    EXPECT_EQ(values(admx, policies + "//@valueName"), Names(kPolicyValueNames.begin(), kPolicyValueNames.end()));
    EXPECT_EQ(values(admx, policies + "//@key"), Names{kPoliciesKeyPath});
    EXPECT_EQ(values(admx, policies + "/@class"), Names{"Machine"});
}

}  // namespace
}  // namespace velmora::test
