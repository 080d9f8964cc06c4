
namespace {

// ---- the applied tips as a .reg file

TEST(RegExport, ValuesAsRegeditWritesThemDeletedKeysAndTheMachineDependentAsComments) {
    const std::vector<int> chosen = {1, 3, 5, 8, 41};
    const std::string text = tips::reg_export_text(chosen, "test");
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
    EXPECT_THAT(text, HasSubstr("\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters]\r\n"
                                "\"CacheHashTableBucketSize\"=dword:00000001\r\n"
                                "\"CacheHashTableSize\"=dword:00000180\r\n"));
    EXPECT_THAT(text, HasSubstr("[HKEY_CURRENT_USER\\Control Panel\\PowerCfg]\r\n\"CurrentPowerPolicy\"=\"0\"\r\n"));
    EXPECT_THAT(text, HasSubstr("\r\n[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                                "RemoteComputer\\NameSpace\\{D6277990-4C6A-11CF-8D87-00AA0060F5BF}]\r\n"));
    EXPECT_THAT(text, HasSubstr("; TIP0003 is left out: it writes one value per network adapter"));
    EXPECT_THAT(text, HasSubstr("; TIP0041 is left out: it empties the Messenger registrations"));
    EXPECT_THAT(text, testing::Not(HasSubstr("PreventRun")));
    EXPECT_THAT(text, testing::Not(HasSubstr("MTU")));
    const auto file = tips::reg_export_file(chosen, "test");
    ASSERT_GE(file.size(), 4u);
    EXPECT_EQ(file[0], 0xFF);
    EXPECT_EQ(file[1], 0xFE);
    EXPECT_EQ(file.size(), 2 + 2 * text.size());
}

}  // namespace
