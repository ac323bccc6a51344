// Writing the working settings into the modem, and what the modem is known to hold: the image
// as read, or as last programmed and verified. Program writes only the bytes that differ from
// what the modem holds, with the checksum byte, unless what it holds is uncertain (then, and
// for an operator who asks for it, every byte). Around every Program: a backup of what the
// modem holds before anything is written (no backup, no Program), and after the commit a
// read-back of the written bytes compared with what was written (unless verification is off); a
// difference keeps the changes pending. A failed write or commit is followed by the same
// read-back, and GetProgramNote says whether the modem holds the new settings. Backups are also
// restored here.
#pragma once

#include <memory>
#include <string>
#include <vector>

class ModemMemoryImage;

namespace vxl {

class ModemSession;
class WorkingSettings;
struct BackupImage;

class ModemProgramming {
  public:
    ModemProgramming(ModemSession& session, WorkingSettings& settings);
    ~ModemProgramming();
    ModemProgramming(const ModemProgramming&) = delete;
    ModemProgramming& operator=(const ModemProgramming&) = delete;

    // Start-up: verification from the preference VerifyAfterProgramming.
    void Init();

    // What the modem holds, just read from it; the working settings start as its copy. Settings
    // that did not match their checksum are not known for sure: the next Program writes them all.
    void Remember(std::unique_ptr<ModemMemoryImage> image);
    // The modem is being read again: nothing is known about what it holds.
    void Forget();
    // The modem was released: nothing is known, nothing was programmed.
    void Released();
    // The settings the modem is known to hold (nullptr when nothing is known).
    const ModemMemoryImage* HeldImage() const { return held_.get(); }
    // The working settings differ from what the modem is known to hold, or a verification
    // found the modem holding something else.
    bool HasPendingChanges() const;
    // Set when changes were programmed since the modem was last read.
    bool IsProgrammed() const { return programmed_; }

    // Writes the working image into the modem (the bytes of AddressesToWrite) and commits it.
    // Asks first about an unapproved combination of power, band and model (Cancel: 0, nothing
    // written). Before writing, the settings the modem holds are saved as a backup (a real modem
    // only); a backup that cannot be written stops the Program with 132 and nothing is sent.
    // After the commit the written bytes are read back and compared unless verification is off:
    // a difference gives 131 and the changes stay pending. A failed write or commit is followed
    // by a read-back that tells whether the modem holds the new settings (GetProgramNote). After
    // any failure once writing began, the next Program writes every byte.
    int Program(std::string& responseText);
    // The modem addresses the next Program writes and verifies: every configuration byte when
    // `fullwrite` is on or what the modem holds is uncertain (nothing known, a failed Program, a
    // restored backup, settings that failed their checksum); else the bytes in which the working
    // settings differ from what the modem holds, the checksum byte, and a stored serial rate or
    // protocol mode that the modem, when it was read, ran with another value than it stored (the
    // pages show the value it runs with).
    std::vector<int> AddressesToWrite() const;
    // `fullwrite`: every Program of this run writes and verifies every byte.
    void SetFullWrite(bool on) { fullWrite_ = on; }
    bool WritesFullImage() const { return fullWrite_; }

    // The folder that holds the backups of every modem (default: DefaultBackupRoot()).
    void SetBackupRoot(std::string root) { backupRoot_ = std::move(root); }
    const std::string& GetBackupRoot() const { return backupRoot_; }
    // Verification after Program: with `remember` the choice is stored in the preferences too
    // (the menu item), without it only for this run (the command line).
    void SetVerifyAfterProgramming(bool on, bool remember);
    bool VerifiesAfterProgramming() const { return verify_; }
    // What the last Program found out beyond its result code: why no backup was written, the
    // verification's difference, or whether the modem holds the new settings after a failed
    // write or commit. Empty after a Program that went well.
    const std::string& GetProgramNote() const { return programNote_; }
    // The modem acknowledged storing the settings of the last Program (its verification may
    // still have failed): programming again is not what it needs.
    bool NewSettingsStored() const { return stored_; }
    // The backup file written by the last Program or BackUpModem (empty when none).
    const std::string& GetLastBackupPath() const { return lastBackupPath_; }

    // Saves the settings the modem is known to hold as a backup (read from the modem first
    // when nothing is loaded). 0, or 132 with the reason in GetProgramNote().
    int BackUpModem(std::string& responseText);
    // The settings the modem is known to hold, as a backup taken now; false without a load.
    bool MakeBackup(BackupImage& backup) const;
    // Puts a backup into the working settings; Program is left to the caller. Refused with 133
    // and a reason when the backup is of another modem type or memory size, or (unless
    // `force`) of another serial number. A forced restore keeps this modem's identity bytes
    // (power and bandwidth, serial number, model and band). The next Program writes every byte.
    int RestoreBackup(const BackupImage& backup, bool force, std::string& reason);

  private:
    bool AsksEtsQuestion() const;
    int ProgramImage(std::string& responseText);
    void DescribeBackup(const ModemMemoryImage& image, BackupImage& backup) const;
    int WriteBackup(const BackupImage& backup);
    int NoBackup(const char* why);
    int ReadAddresses(const std::vector<int>& addresses, const char* title, const char* what,
                      std::string& responseText, std::vector<uint8_t>& bytes);
    // Reads the bytes at `addresses` back; 0 and the number of them that differ from `written`
    // with the first such address, or the failing read's code.
    int ReadBack(const ModemMemoryImage& written, const std::vector<int>& addresses,
                 std::string& responseText, int& differing, int& firstAddress);
    int Verify(const std::vector<int>& addresses, std::string& responseText);
    void ExplainFailedProgram(const std::vector<int>& addresses, bool committing,
                              bool commitRefused);

    ModemSession& session_;
    WorkingSettings& settings_;
    std::unique_ptr<ModemMemoryImage> held_;
    bool programmed_ = false;
    bool stored_ = false;
    bool verify_ = true;
    // Set when a verification found the modem holding other settings than those written: the
    // changes count as pending until a Program succeeds or the modem is read again.
    bool unverified_ = false;
    // What the modem holds is not known byte for byte: the next Program writes every byte.
    bool uncertain_ = true;
    bool fullWrite_ = false;
    // Addresses at which the modem stores other values than the settings it was read with show.
    std::vector<int> storedOtherwise_;
    std::string backupRoot_;
    std::string programNote_;
    std::string lastBackupPath_;
};

}  // namespace vxl
