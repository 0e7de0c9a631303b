// The two server addresses: compiled in, or taken from the environment.
#include "vales/servidores.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Sets or clears one environment variable for the length of a test.
class EnvVar {
  public:
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvVar() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(Servidores, CompiledInAddressesWithoutEnvironment) {
    EnvVar local(vales::VAR_SERVIDOR_LOCAL, nullptr);
    EnvVar remote(vales::VAR_SERVIDOR_REMOTO, nullptr);
    EXPECT_EQ(vales::servidor_local(), vales::SERVIDOR_LOCAL_FIJO);
    EXPECT_EQ(vales::servidor_remoto(), vales::SERVIDOR_REMOTO_FIJO);
    EXPECT_NE(vales::servidor_local(), vales::servidor_remoto());
}

TEST(Servidores, EnvironmentOverridesEachAddressAlone) {
    struct Case {
        const char* local_env;
        std::string local;  // expected
    };
    const Case cases[] = {
        {"127.0.0.1:33061", "127.0.0.1:33061"},
        {"  10.0.0.5  ", "10.0.0.5"},
        {"", std::string(vales::SERVIDOR_LOCAL_FIJO)},
        {"127.0.0.1:notaport", std::string(vales::SERVIDOR_LOCAL_FIJO)},
    };
    for (const auto& c : cases) {
        EnvVar local(vales::VAR_SERVIDOR_LOCAL, c.local_env);
        EnvVar remote(vales::VAR_SERVIDOR_REMOTO, nullptr);
        EXPECT_EQ(vales::direccion_servidor(true), c.local) << c.local_env;
        EXPECT_EQ(vales::direccion_servidor(false), vales::SERVIDOR_REMOTO_FIJO);
    }
    EnvVar remote(vales::VAR_SERVIDOR_REMOTO, "srv.example:3307");
    EXPECT_EQ(vales::servidor_remoto(), "srv.example:3307");
}

}  // namespace
