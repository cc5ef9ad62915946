#include "dialogs/AgreementText.h"

const wchar_t kAgreementTitle[] = L"Halvex服务工具使用许可协议";

namespace {

const wchar_t kLineEnd[] = L"\r\n";
const wchar_t kIndent[] = L"    ";

class AgreementBuilder {
public:
    void Line(const std::wstring& text) { m_pieces.push_back(text + kLineEnd); }
    void Empty() { m_pieces.push_back(kLineEnd); }
    void Paragraph(const std::wstring& text) { Line(kIndent + text); }
    void Section(const wchar_t* numeral, const std::wstring& title)
    {
        Empty();
        Line(std::wstring(numeral) + L". " + title);
    }
    // Clauses are numbered 1., 2., ...; the items under a clause A., B., ...
    void Clause(int number, const std::wstring& text)
    {
        Line(kIndent + std::to_wstring(number) + L"." + text);
    }
    void Item(wchar_t letter, const std::wstring& text)
    {
        Line(kIndent + std::wstring(1, letter) + L"." + text);
    }
    std::vector<std::wstring> Finish()
    {
        // The last clause ends the text without a line break.
        std::wstring& last = m_pieces.back();
        last.resize(last.size() - 2);
        return m_pieces;
    }

private:
    std::vector<std::wstring> m_pieces;
};

std::vector<std::wstring> MakeAgreement()
{
    AgreementBuilder a;
    a.Line(kAgreementTitle);
    a.Empty();
    a.Line(L"重要提示");
    a.Paragraph(L"欢迎使用Halvex服务工具（以下简称“本工具”）。本工具只做一件事：修复电脑在系统重置后"
                L"键盘所有按键都失灵的问题。请您在使用前仔细阅读本协议。");
    a.Paragraph(L"本工具的修复方法是：查询系统中已安装的更新，找到已知会引起该问题的更新后将其卸载。"
                L"本工具需要以管理员身份运行，卸载更新后可能需要重新启动电脑。");
    a.Paragraph(L"您勾选同意本协议或开始使用本工具，即表示您已阅读并同意本协议的全部条款。如果您不同意，"
                L"请不要使用本工具，直接关闭即可。");

    a.Section(L"一", L"知识产权");
    a.Clause(1, L"本工具的著作权及其他知识产权归Halvex所有，受法律保护。");
    a.Clause(2, L"本协议没有明确授予您的权利，均由Halvex保留。未经Halvex书面许可，您不得出售、出租本工具，"
                L"或将本工具用于其他商业目的。");

    a.Section(L"二", L"授权范围");
    a.Clause(1, L"Halvex免费授予您在您拥有或有权管理的电脑上使用本工具的许可。该许可是非独占的，不能转让。");
    a.Clause(2, L"本工具只用于修复本协议所述的键盘失灵问题。对于其他问题，本工具不做任何修改，也不保证能够解决。");

    a.Section(L"三", L"使用规范");
    a.Clause(1, L"您在使用本工具时，不得有下列行为：");
    a.Item(L'A', L"对本工具进行反向工程、反向汇编或反向编译；");
    a.Item(L'B', L"修改或破解本工具，或去除本工具中的标识；");
    a.Item(L'C', L"在本工具中加入恶意代码后再传播；");
    a.Item(L'D', L"以本工具的名义误导他人或从事违法活动；");
    a.Item(L'E', L"干扰或破坏Halvex反馈服务的正常运行；");
    a.Item(L'F', L"未经电脑所有者同意，在他人的电脑上使用本工具；");
    a.Item(L'G', L"其他违反法律法规或损害他人合法权益的行为。");
    a.Clause(2, L"本工具只支持Windows 10。在其他版本的Windows上，本工具会给出提示后退出，不做任何修改。");
    a.Clause(3, L"修复前请保存好您正在编辑的文件。卸载更新期间，请不要关闭电脑，也不要强行结束本工具。");
    a.Clause(4, L"如果系统中没有安装已知会引起该问题的更新，本工具会告诉您并退出，不会卸载任何其他更新。");
    a.Clause(5, L"被卸载的更新以后可以通过Windows更新重新安装。如果重新安装后问题再次出现，您可以再次使用本工具。");
    a.Clause(6, L"您关闭本工具时，本工具会删除它自带的文件；如果它所在的文件夹因此变空，也会删除这个文件夹。"
                L"您放在这个文件夹中的其他文件不会被删除。");

    a.Section(L"四", L"隐私保护");
    a.Clause(1, L"Halvex重视您的隐私。本工具只处理下面列出的信息，并且只用于下面所说的用途。");
    a.Clause(2, L"本工具不会读取、收集或上传您的个人文件、账户、密码或其他个人资料。");
    a.Clause(3, L"本工具会在您的电脑上写一个小的日志文件：");
    a.Item(L'A', L"日志只记录本工具运行中的失败情况及其发生的时间；");
    a.Item(L'B', L"日志保存在所有用户的应用程序数据文件夹下的ToolLog文件夹中，不会被上传；");
    a.Item(L'C', L"日志达到一定大小后会换用新的文件，不会无限增大。");
    a.Clause(4, L"本工具通过Halvex的反馈服务发送下列信息：");
    a.Item(L'A', L"本工具的编号和版本号，用于检查是否有新版本；");
    a.Item(L'B', L"本工具的启动和使用情况；");
    a.Item(L'C', L"修复成功的结果；");
    a.Item(L'D', L"您关闭本工具时对“问题是否已解决”的回答；");
    a.Item(L'E', L"您通过本工具打开的帮助页面。");
    a.Clause(5, L"上述信息只用于：");
    a.Item(L'A', L"统计本工具的使用情况；");
    a.Item(L'B', L"了解修复的效果；");
    a.Item(L'C', L"改进本工具和相关服务；");
    a.Item(L'D', L"在有新版本时为您提供新版本。");
    a.Clause(6, L"除法律法规另有规定外，Halvex不会出售上述信息，也不会将其提供给第三方。");
    a.Clause(7, L"日志文件保存在您自己的电脑上，您可以随时查看或删除。");

    a.Section(L"五", L"责任与免责");
    a.Clause(1, L"本工具按现状提供。Halvex尽力保证本工具正确可靠，但不保证它能解决所有的键盘问题。");
    a.Clause(2, L"如果修复没有成功，建议您联系Halvex客户服务或专业的维修人员。");
    a.Clause(3, L"卸载系统更新是对系统的修改。使用本工具前，建议您备份重要的数据。");
    a.Clause(4, L"因停电、强行关机等本工具无法控制的原因使修复中断而造成的损失，Halvex不承担责任。");
    a.Clause(5, L"因您违反本协议或以不当方式使用本工具而造成的损失，由您自行承担。");
    a.Clause(6, L"检查新版本和发送使用信息需要连接网络。网络不可用时，这些功能不会进行，但不影响修复。");
    a.Clause(7, L"在法律允许的范围内，Halvex对因使用或无法使用本工具而产生的间接损失不承担责任。");

    a.Section(L"六", L"其他条款");
    a.Clause(1, L"本协议的订立、效力、解释和争议的解决，均适用中华人民共和国法律。");
    a.Clause(2, L"Halvex可能在本工具的新版本中更新本协议。更新后的协议随新版本提供，您使用新版本即表示同意"
                L"更新后的协议。");
    return a.Finish();
}

}  // namespace

const std::vector<std::wstring>& AgreementPieces()
{
    static const std::vector<std::wstring> pieces = MakeAgreement();
    return pieces;
}

std::wstring BuildAgreementText()
{
    std::wstring text;
    for (const std::wstring& piece : AgreementPieces())
        text += piece;
    return text;
}
