// The whole start-up sequence through the real binaries: the host loads the
// module with dlopen and the module calls back into the host.
#include "Binaires.h"
#include "kv/host.h"
#include <gtest/gtest.h>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <memory>

namespace {

// The test program owns the Qt application; the module uses it.
QApplication& Application() {
    static int nArgc = 1;
    static char szNom[] = "App";
    static char* argv[] = {szNom, nullptr};
    static QApplication* app = new QApplication(nArgc, argv);
    return *app;
}

void Attends(int nMs) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < nMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

class Hote : public ::testing::Test {
protected:
    void SetUp() override {
        Application();
        pfnCree = vm.Symbole<PFN_KVVM_pCreeHote>("KVVM_pCreeHote");
        hote.reset(pfnCree());
        STOptionsHote st;
        st.sPersistance = kvtest::RepertoireTemporaire() + "/persist.sqlite";
        std::string sErreur;
        ASSERT_TRUE(hote->bDemarre(st, sErreur)) << sErreur;
        exe = hote->piGetExe();
        ASSERT_NE(exe, nullptr);
    }
    void TearDown() override {
        if (hote) hote->Arrete();
        hote.reset();
    }
    kvtest::Bibliotheque vm{kvtest::CheminBinaire("kv190vm.so")};
    PFN_KVVM_pCreeHote pfnCree = nullptr;
    std::unique_ptr<IHote> hote;
    IExe* exe = nullptr;
};

TEST_F(Hote, StartsAndStopsThroughTheEntryPoints) {
    EXPECT_NE(hote->piGetComposante(), nullptr);
    EXPECT_NE(hote->piGetGate(), nullptr);
    EXPECT_EQ(hote->piGetComposante()->pclGetError()->nGetNiveau(), eNIVEAU_AUCUN);
    EXPECT_EQ(exe->bChargeKVLOBJ(), 1) << "the host answers the module's own library";
    int nFin = hote->nGetNbFinModule();
    hote->Arrete();
    EXPECT_EQ(hote->nGetNbFinModule(), nFin) << "the host ended the execution object itself: no 3052";
}

TEST_F(Hote, HourglassNests) {
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    exe->SablierVrai();
    exe->SablierVrai();
    exe->SablierFaux();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    exe->SablierFaux();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    exe->SablierFaux();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Hote, TimersFireThroughTheQtLoopUntilRemoved) {
    int nTicks = 0;
    void* pProc = hote->piGetRunnerCPP()->pEnregistreProcedure([&] { ++nTicks; });
    CXError err;
    void* h = exe->hCreeTimerVM(5, hote->piGetVM(), pProc, &err);
    ASSERT_NE(h, nullptr);
    Attends(200);
    EXPECT_GT(nTicks, 2);

    exe->SetTimerDesactive(1);
    int nAvant = nTicks;
    Attends(60);
    EXPECT_EQ(nTicks, nAvant) << "disabled timers run nothing";
    exe->SetTimerDesactive(0);

    exe->SupprimeTimerVM(h);
    nAvant = nTicks;
    Attends(60);
    EXPECT_EQ(nTicks, nAvant);
}

TEST_F(Hote, TimerRemovedByItsOwnProcedure) {
    int nTicks = 0;
    void* h = nullptr;
    void* pProc = hote->piGetRunnerCPP()->pEnregistreProcedure([&] {
        ++nTicks;
        exe->SupprimeTimerVM(h);
    });
    CXError err;
    h = exe->hCreeTimerTempReelVM(1, hote->piGetVM(), pProc, &err);
    ASSERT_NE(h, nullptr);
    Attends(80);
    EXPECT_EQ(nTicks, 1);
}

TEST_F(Hote, MainThreadCallsWithoutActiveWindowDoNothing) {
    exe->LanceActionGeneriqueVMMainThread(7, 42);
    Attends(20);
    EXPECT_TRUE(hote->piGetRunnerCPP()->JournalActions().empty());
}

TEST_F(Hote, NextWindowSettings) {
    int x = 0;
    exe->SetHandleParentSuivantForceChild(&x);
    EXPECT_EQ(exe->hGetHandleParentSuivant(), &x);
    exe->SetHandleParentSuivant(nullptr);
    EXPECT_EQ(exe->hGetHandleParentSuivant(), nullptr);
    exe->SetTypeKVFileOuvreSuivant(3);
    EXPECT_EQ(exe->dwGetTypeKVFileOuvreSuivant(), 3u);
    exe->SetContexteQBSuivant(&x);
    EXPECT_EQ(exe->pGetContexteQBSuivant(), &x);
}

TEST(Kvrun, CheckStartsAndStopsTheModule) {
    std::string sCommande = kvtest::CheminBinaire("kvrun") + " --check 2>&1";
    FILE* f = popen(sCommande.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char buf[512];
    std::string sSortie;
    while (fgets(buf, sizeof buf, f)) sSortie += buf;
    int nStatut = pclose(f);
    EXPECT_EQ(nStatut, 0) << sSortie;
    EXPECT_NE(sSortie.find("19.0.356.39"), std::string::npos) << sSortie;
}

TEST(Kvrun, ModuleWithoutEntryPointsIsRefused) {
    std::string sCommande = kvtest::CheminBinaire("kvrun") + " --check --module /nonexistent/kv190obj.so 2>&1";
    FILE* f = popen(sCommande.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char buf[512];
    while (fgets(buf, sizeof buf, f)) {}
    EXPECT_NE(pclose(f), 0);
}

} // namespace
