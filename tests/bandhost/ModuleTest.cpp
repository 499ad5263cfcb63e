// The built module, loaded as a host loads it.

#include "platform/com/Interfaces.h"
#include "platform/registry/Registry.h"
#include "support/TempHome.h"

#include <dlfcn.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "support/Files.h"
using testfiles::readFile;

using registry::Registry;
using registry::Root;

namespace {

const char* kClass = "CLSID\\{E279D4B4-5FAF-483C-AB32-ECE43ABF9F7F}";
const char* kCacheRoot = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Discardable\\"
                         "PostSetup\\Component Categories\\";

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        Registry::resetUser();
        // Kept mapped between tests: the toolkit libraries the module brings
        // into this otherwise toolkit-free process start threads of their
        // own and cannot be unloaded safely. The host test checks unloading.
        handle = dlopen(TAVRISK_MODULE_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        ASSERT_NE(handle, nullptr) << dlerror();
        getClassObject =
            reinterpret_cast<decltype(getClassObject)>(dlsym(handle, "DllGetClassObject"));
        canUnloadNow = reinterpret_cast<decltype(canUnloadNow)>(dlsym(handle, "DllCanUnloadNow"));
        registerServer =
            reinterpret_cast<decltype(registerServer)>(dlsym(handle, "DllRegisterServer"));
        unregisterServer =
            reinterpret_cast<decltype(unregisterServer)>(dlsym(handle, "DllUnregisterServer"));
        ASSERT_TRUE(getClassObject && canUnloadNow && registerServer && unregisterServer);
    }
    void TearDown() override {
        if (handle)
            dlclose(handle);
        Registry::resetUser();
    }

    Registry& reg() { return Registry::user(); }
    std::filesystem::path registryFile() {
        std::filesystem::create_directories(home.path() / "config");
        return home.path() / "config" / "registry.reg";
    }

    TempHome home;
    void* handle = nullptr;
    HRESULT (*getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT (*canUnloadNow)() = nullptr;
    HRESULT (*registerServer)() = nullptr;
    HRESULT (*unregisterServer)() = nullptr;
};

} // namespace

TEST_F(ModuleTest, ExportsOnlyTheFourEntryPoints) {
    EXPECT_EQ(dlsym(handle, "_ZN9TEditBand7SetSiteEP8IUnknown"), nullptr);
    EXPECT_EQ(dlsym(handle, "_ZN10ComServer8instanceEv"), nullptr);
}

TEST_F(ModuleTest, RegistrationWritesTheBarEntries) {
    reg().createKey(Root::CurrentUser,
                    std::string(kCacheRoot) + "{00021493-0000-0000-C000-000000000046}\\Enum\\x");
    reg().createKey(Root::CurrentUser,
                    std::string(kCacheRoot) + "{00021494-0000-0000-C000-000000000046}\\Enum");
    ASSERT_EQ(registerServer(), S_OK);
    Registry::resetUser();
    EXPECT_EQ(reg().value(Root::ClassesRoot, kClass, ""), "&Tavrisk");
    EXPECT_EQ(reg().value(Root::ClassesRoot, std::string(kClass) + "\\InprocServer32", ""),
              std::filesystem::canonical(TAVRISK_MODULE_PATH).string());
    EXPECT_EQ(
        reg().value(Root::ClassesRoot, std::string(kClass) + "\\InprocServer32", "ThreadingModel"),
        "Apartment");
    EXPECT_TRUE(reg().keyExists(Root::ClassesRoot, std::string(kClass) +
                                                       "\\Implemented Categories\\"
                                                       "{00021494-0000-0000-C000-000000000046}"));
    EXPECT_FALSE(
        reg().keyExists(Root::CurrentUser,
                        std::string(kCacheRoot) + "{00021493-0000-0000-C000-000000000046}\\Enum"));
    EXPECT_FALSE(
        reg().keyExists(Root::CurrentUser,
                        std::string(kCacheRoot) + "{00021494-0000-0000-C000-000000000046}\\Enum"));

    std::string once = readFile(registryFile());
    ASSERT_EQ(registerServer(), S_OK);
    EXPECT_EQ(readFile(registryFile()), once);
}

TEST_F(ModuleTest, UnregistrationRemovesEveryKeyOfTheClass) {
    EXPECT_EQ(unregisterServer(), S_OK); // nothing registered yet
    ASSERT_EQ(registerServer(), S_OK);
    ASSERT_EQ(unregisterServer(), S_OK);
    Registry::resetUser();
    EXPECT_FALSE(reg().keyExists(Root::ClassesRoot, kClass));
    EXPECT_TRUE(reg().subkeys(Root::ClassesRoot, "CLSID").empty());
}

TEST_F(ModuleTest, DamagedRegistryFileFailsRegistrationAndStaysAsItWas) {
    { std::ofstream(registryFile(), std::ios::binary) << "[HKEY_CLASSES_ROOT\\broken\n"; }
    Registry::resetUser();
    EXPECT_EQ(registerServer(), E_FAIL);
    EXPECT_EQ(unregisterServer(), E_FAIL);
    EXPECT_EQ(readFile(registryFile()), "[HKEY_CLASSES_ROOT\\broken\n");
}

TEST_F(ModuleTest, ClassObjectAndUnloadCounters) {
    const CLSID editBand{
        0xE279D4B4, 0x5FAF, 0x483C, {0xAB, 0x32, 0xEC, 0xE4, 0x3A, 0xBF, 0x9F, 0x7F}};
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject(GUID_NULL, iidOf<IClassFactory>(), &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(getClassObject(editBand, iidOf<IDispatch>(), &out), E_NOINTERFACE);

    EXPECT_EQ(canUnloadNow(), S_OK);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClassObject(editBand, iidOf<IClassFactory>(), factory.putVoid()), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    ComPtr<IDeskBand> band;
    ASSERT_EQ(factory->CreateInstance(nullptr, iidOf<IDeskBand>(), band.putVoid()), S_OK);
    factory = nullptr;
    EXPECT_EQ(canUnloadNow(), S_FALSE); // the band lives
    band = nullptr;
    EXPECT_EQ(canUnloadNow(), S_OK);

    ASSERT_EQ(getClassObject(editBand, iidOf<IClassFactory>(), factory.putVoid()), S_OK);
    factory->LockServer(TRUE);
    factory = nullptr;
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    ASSERT_EQ(getClassObject(editBand, iidOf<IClassFactory>(), factory.putVoid()), S_OK);
    factory->LockServer(FALSE);
    factory = nullptr;
    EXPECT_EQ(canUnloadNow(), S_OK);
}
