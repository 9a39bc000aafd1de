#include "subsystems/tools/tools_commands.h"

#include "platform/command_table.h"
#include "platform/form_factory.h"
#include "platform/platform.h"
#include "subsystems/tools/about_box.h"
#include "subsystems/tools/accessories.h"

void AboutScriblet(const ToolsContext& context) { context.forms.makeModal<Form4>()->exec(); }

void RegisterToolsCommands(CommandTable& commands, const ToolsContext& context)
{
    const ToolsContext c = context;
    commands.add(CommandId::Calculator, [c] { RunCalculator(c.platform); });
    commands.add(CommandId::AutoDialer, [c] { RunPhoneDialer(c.platform, c.editor); });
    commands.add(CommandId::HelpContents, [c] { c.platform.showHelp(HelpBook::Contents); });
    commands.add(CommandId::HelpOnHelp, [c] { c.platform.showHelp(HelpBook::HelpOnHelp); });
    commands.add(CommandId::AboutScriblet, [c] { AboutScriblet(c); });
}
