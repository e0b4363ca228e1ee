#include "commands/builtin_commands.hpp"
#include "host_context.hpp"
#include "tlcommon/text_codec.hpp"

#include <fmt/format.h>

namespace tl::host {
namespace {

class DecodeCommand : public Command {
public:
    std::string Path() const override { return "decode"; }
    std::string Description() const override { return "Print the driver's text for a task result code"; }
    void AddOptions(CLI::App& command) override {
        command.add_option("CODE", code_, "result code")->required();
    }
    int Run(HostContext& context) override {
        auto driver = context.LoadDriver();
        const char* text = driver->Exports().GetStartActionDecodeResult(code_);
        fmt::print("{}\n", Cp1251ToUtf8(text != nullptr ? text : ""));
        return 0;
    }

private:
    int32_t code_ = 0;
};

} // namespace

std::unique_ptr<Command> MakeDecodeCommand() {
    return std::make_unique<DecodeCommand>();
}

} // namespace tl::host
