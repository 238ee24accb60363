#include "CfgUnit/Messages.h"

#include "CfgUnit/Scenario.h"
#include "CfgUnit/UserInterface.h"
#include "common/CommandLine.h"
#include "common/ProfileFile.h"
#include "common/Text.h"

const TMessageKey MessageKeys[MessageKeyCount] = {
    {"ERROR_FIND_ACTIVEX_DIR", &TConfigurator::ERROR_FIND_ACTIVEX_DIR,
     "Не обнаружены модули системы ДБО Ledgeon v3 \"Онлайн-Касса\". Возможно, установка была проведена некорректно. Пожалуйста, обратитесь в службу поддержки Вашего банка. (В системе отсутствует зарегистрированный ActiveX с CLSID: %s)."},
    {"NEW_WEB_HOST_DIALOG_CANCEL", &TConfigurator::NEW_WEB_HOST_DIALOG_CANCEL,
     "Обновление не завершено. Для корректной работы системы Вам необходимо завершить обновление. При следующем входе в систему ДБО Ledgeon v3 \"Онлайн-Касса\" Вам будет предложено провести обновление еще раз."},
    {"WARNING_NEW_WEBHOST_EXISTS", &TConfigurator::WARNING_NEW_WEBHOST_EXISTS,
     "Значение, введенное Вами в поле \"%s\" (%s) уже используется на Вашем компьютере при работе с системой ДБО Ledgeon v3 \"Онлайн-Касса\". Убедитесь, что введено правильное значение и нажмите кнопку \"ОК\".\r\nВ случае, если Вы хотите изменить значение поля \"%s\" нажмите кнопку \"Отмена\" и продолжите редактирование.\r\nВ случае некорректной работы системы \"Онлайн-Касса\" обратитесь в поддержку Вашего банка."},
    {"ASK_FOR_EMPTY_WARDEN_PORT", &TConfigurator::ASK_FOR_EMPTY_WARDEN_PORT,
     "Не указан порт перенаправления запросов на сервер защиты Warden в поле \"%s\" (\"%s\"). Вы действительно хотите сохранить введенные значения?"},
    {"ERROR_NOT_FILL_DIALOG_FIELD", &TConfigurator::ERROR_NOT_FILL_DIALOG_FIELD,
     "Не указано значение поля \"%s\".Для корректного проведения обновления пожалуйста, введите значение в требуемое поле и нажмите кнопку \"%s\"."},
    {"ERROR_NOT_FILL_DIALOG_FIELDS", &TConfigurator::ERROR_NOT_FILL_DIALOG_FIELDS,
     "Не указано значение полей: \r\n%s\r\nДля корректного проведения обновления пожалуйста, введите значение в требуемые поля и нажмите кнопку \"%s\"."},
    {"SHARING_ERROR", &TConfigurator::SHARING_ERROR,
     "Для корректного завершения обновления необходимо завершить (закрыть) следующие приложения:\r\n\r\n%s\r\nДля этого необходимо ПОСЛЕДОВАТЕЛЬНО выполнить действия:\r\n%s. Нажать кнопку <OK> в данном сообщении.\r\nНажмите кнопку \"Отмена\" если Вы не хотите сейчас провести обновление. В этом случае корректная работа в системе \"Dedo-Darevi\" не гарантируется.\r\n\r\nПроцесс обновления будет возобновлен при следующем входе в систему \"Dedo-Darevi\"."},
    {"CONFIG_EXISTS_TOOTHERBANK", &TConfigurator::CONFIG_EXISTS_TOOTHERBANK,
     "Настройка хоста \"%s\" не может быть скопирована в \"%s\", т.к. уже существует и ведет на сайт \"%s\", а не на \"%s\" настройка скопирована в \"%s\".\r\nПо окончании обновления обратитесь в службу поддержки."},
    {"ERROR_CORRECT_WARDENCFG", &TConfigurator::ERROR_CORRECT_WARDENCFG,
     "Ошибка обновления настроек Warden. \r\nФайл настроек: \"%s\"\r\nError: %s"},
    {"ERROR_NOTFOUND_WARDENCFG", &TConfigurator::ERROR_NOTFOUND_WARDENCFG,
     "Не найден конфигурационный файл Warden: \"%s\".\r\nОбновление невозможно. Обратитесь в службу поддержки Вашего банка."},
    {"NOT_FOUND_FILE", &TConfigurator::NOT_FOUND_FILE,
     "Не найден файл \"%s\", указанный в конфигурационном файле."},
    {"NOT_FOUND_PARAM", &TConfigurator::NOT_FOUND_PARAM,
     "В конфигурационном файле отсутствует значение параметра %s в секции [WardCfgUp]."},
    {"ERROR_INSTALL", &TConfigurator::ERROR_INSTALL,
     "Невозможно установить библиотеки необходимые для работы системы ДБО Ledgeon v3 \"Онлайн-Касса\". Возможно, при обновлении вы не выгрузили Internet Explorer или Warden. Попробуйте зайти на сайт Вашего банка еще раз и повторить обновление."},
    {"NOT_FOUND_RUNNING_WARDEN", &TConfigurator::NOT_FOUND_RUNNING_WARDEN,
     "Не обнаружено запущенного модуля Warden версии ДБО Ledgeon v3 \"Онлайн-Касса\". Обновление прервано.\r\nПожалуйста, обратитесь в службу технической поддержки Вашего банка."},
    {"WARDEN_CLIENT_NAME", &TConfigurator::WARDEN_CLIENT_NAME,
     "Warden (Клиентская часть)"},
    {"IEXPLORER_NAME", &TConfigurator::IEXPLORER_NAME,
     "Internet Explorer"},
    {"IEXPLORER_CLOSE", &TConfigurator::IEXPLORER_CLOSE,
     "Закрыть все окна Internet Explorer (включая систему интернет \"Dedo-Darevi\").\r\n"},
    {"WARDEN_CLIENT_CLOSE", &TConfigurator::WARDEN_CLIENT_CLOSE,
     "Выгрузиь Warden (в правом нижнем углу экрана необходимо кликнуть правой кнопкой мыши на серо-синей иконке с [Warden(клиентская часть)] и выбрать пункт выгрузить).\r\n"},
    {"OTHERPROCESSES_CLOSE", &TConfigurator::OTHERPROCESSES_CLOSE,
     "Завершить процессы:\r\n%s\r\n"},
    {"ALL_OK", &TConfigurator::ALL_OK,
     "Обновление проведено успешно.\r\n"},
    {"CHECK_FOR_RUN_WARDEN", &TConfigurator::CHECK_FOR_RUN_WARDEN,
     "Перед началом работы в системе \"Dedo-Darevi\" убедитесь, что запущен Warden.Подсистему Warden Вы можете вручную запустить из меню Пуск->Программы->Warden].\r\n"},
    {"COPY_ERROR", &TConfigurator::COPY_ERROR,
     "Для корректного завершения обновления необходимо завершить (закрыть) приложения.\r\nДля этого необходимо ПОСЛЕДОВАТЕЛЬНО выполнить действия:\r\n\r\n1. Закрыть все окна Internet Explorer (включая систему интернет dedo-darevi).\r\n2. В случае использования системы защиты канала передачи данных Warden необходимо его выгрузить  (в правом нижнем углу экрана необходимо кликнуть правой кнопкой мыши на серо-синей иконке с [Warden (клиентская часть)] и выбрать пункт выгрузить).\r\n3. Нажать кнопку <OK> в  данном сообщении.\r\n\r\nЕсли Вы используете Warden, то перед началом работы в системе \"Dedo-Darevi\" убедитесь, что он запущен.\r\nПодсистему Warden Вы можете вручную запустить из меню Пуск->Программы->Warden].\r\n\r\nНажмите кнопку \"Отмена\" если Вы не хотите сейчас провести обновление. В этом случае корректная работа в системе \"Dedo-Darevi\" не гарантируется.\r\n\r\nПроцесс обновления будет возобновлен при следующем входе в систему \"Dedo-Darevi\"."},
};

const char* const ConfigNotFoundTextBuiltIn =
    "Не найден конфигурационный файл: \"%s\".\r\nСообщите разработчикам.";
const char* const UsageTextBuiltIn =
    "Использование: WardCfgUp.exe -c=inifilename <Дополнительные, необязательные параметры>\r\n-c=<Имя файла> - конфигурационный файл сценария работы.\r\nДополнительные, необязательные параметры: \r\n-l=<Имя файла> - включает логирование в указанный файл.\r\n-cw=<Имя файла> - сохраняет настройки по-умолчанию в указанный файл.\r\n";

const char* const UpdateInProgressText =
    "Обновление клиента ДБО уже выполняется. Дождитесь его окончания: запускать обновление ещё раз не нужно.";

const char* const UpdateRefusedText =
    "Обновление клиента ДБО не установлено: оно не подписано банком или изменено после подписи. "
    "На компьютере ничего не изменено.\r\n\r\nОбратитесь, пожалуйста, в банк.";

const TCaptionKey DialogCaptionKeys[DialogCaptionCount] = {
    {"DialogCaption", "Обновление параметров Warden"},
    {"OldWebServHostLabelCaption", "Используемый ранее защищаемый сервер:"},
    {"NewWebServHostLabelCaption", "Новый защищаемый сервер:"},
    {"NewWardLocLabelCaption", "Новый адрес и порт сервера Warden:"},
    {"NewReserveWardLocLabelCaption", "Новый адрес и порт резервного сервера Warden:"},
    {"AcceptButtonCaption", "Обновить"},
    {"DeclineButtonCaption", "Выход"},
    {"CommentLabelText", "Добавление настройки в Warden", true},
};

std::string EscapeLineBreaks(const std::string& text)
{
    return ReplaceAll(text, "\r\n", "\\n");
}

std::string UnescapeLineBreaks(const std::string& text)
{
    return ReplaceAll(text, "\\n", "\r\n");
}

void TConfigurator::SetDefaults()
{
    RemoveBackup = true;
    for (const TCaptionKey& caption : DialogCaptionKeys)
        DialogCaptions.Add(std::string(caption.Key) + "=" + caption.BuiltIn);
    for (const TMessageKey& message : MessageKeys)
        this->*message.Text = message.BuiltIn;
    ConfigNotFoundText = ConfigNotFoundTextBuiltIn;
    UsageText = UsageTextBuiltIn;
}

int TConfigurator::ShowMessage(const std::string& text, const std::string& caption, UINT style)
{
    return UserInterface().ShowMessageBox(OwnerWindow(), text, caption, style);
}

void TConfigurator::WriteScenarioFile(const std::string& target)
{
    ProfileFile file(target, ProfileFile::TMode::Write);
    file.Section = MainSection;
    file.IntegerValue(RemoveBackupKey, RemoveBackup ? 1 : 0);
    file.StringValue(SourceFileKey(0), "");
    file.StringValue(AxClsidKey, AxClsid);

    for (const TLineSection& section : LineSections) {
        if (!section.WrittenWhenEmpty && (this->*section.Lines).Count() == 0)
            continue;
        file.Section = section.Name;
        file.SectionLines(this->*section.Lines);
    }
    file.Section = DialogCaptionsSection;
    file.SectionLines(DialogCaptions);

    file.Section = MessagesSection;
    for (const TMessageKey& message : MessageKeys)
        file.StringValue(message.Key, EscapeLineBreaks(this->*message.Text));
}

bool TConfigurator::WriteDefaultScenario()
{
    std::string target;
    for (int i = 1; i <= CommandLineParamCount(); ++i) {
        std::string parameter = CommandLineParam(i);
        if (parameter == "?") {
            ShowMessage(UsageText, Box::Warning, Box::WarningStyle);
            return true;
        }
        if (HasOptionPrefix(parameter, "-cw="))
            target = ProgramDir() + parameter.substr(4);
    }
    if (target.empty())
        return false;
    WriteScenarioFile(target);
    return true;
}
