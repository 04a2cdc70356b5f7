#include "src/app/parser_app.h"

#include "src/app/main_dialog.h"

namespace velmora {

ParserApp::ParserApp(Prompts& prompts, const Services& services, const StringTable& strings)
    : prompts_(prompts), services_(services), strings_(strings) {}

bool ParserApp::initInstance() {
    openSettingsKeys();  // a failure is reported and start-up goes on
    MainDialog main(prompts_, services_, strings_);
    prompts_.runModal(main);
    return false;
}

bool ParserApp::openSettingsKeys() {
    Registry& registry = services_.registry;
    RegistryKey key =
        registry.createKey(rootKey(RegistryRoot::LocalMachine), kSettingsKeyPath, RegistryAccess::AllAccess);
    if (key == kNoKey) {
        // "Create" with a capital is the system's own.
        prompts_.appMessage(std::string("Unable to open or Create Registry entry ") + kSettingsKeyPath);
        return false;
    }
    RegistryKey settings = registry.createKey(key, kSettingsSubKey, RegistryAccess::AllAccess);
    if (settings == kNoKey) {
        // "Create" with a capital is the system's own.
        prompts_.appMessage("Unable to open or Create Registry entry");
        registry.closeKey(key);
        return false;
    }
    registry.closeKey(key);
    registry.closeKey(settings);
    return true;
}

}  // namespace velmora
