#include "Platform/Framework/Exceptions/InvalidArgException.h"
#include "Platform/Framework/Core/Object.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
};
class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)
public:
    int m_nRadius = 7;
};
class CUnitCircle : public CCircle {
    DECLARE_DYNCREATE(CUnitCircle)
};
class CSquare : public CShape {
    DECLARE_DYNCREATE(CSquare)
};

IMPLEMENT_DYNAMIC(CShape, CObject)
IMPLEMENT_DYNCREATE(CCircle, CShape)
IMPLEMENT_DYNCREATE(CUnitCircle, CCircle)
IMPLEMENT_DYNCREATE(CSquare, CShape)

}  // namespace

TEST(RuntimeClass, ChainsRunFromTheClassToCObject)
{
    const CRuntimeClass* unit = RUNTIME_CLASS(CUnitCircle);
    EXPECT_STREQ(unit->m_lpszClassName, "CUnitCircle");
    EXPECT_EQ(unit->m_nObjectSize, static_cast<int>(sizeof(CUnitCircle)));
    ASSERT_EQ(unit->m_pBaseClass, RUNTIME_CLASS(CCircle));
    ASSERT_EQ(unit->m_pBaseClass->m_pBaseClass, RUNTIME_CLASS(CShape));
    ASSERT_EQ(RUNTIME_CLASS(CShape)->m_pBaseClass, RUNTIME_CLASS(CObject));
    EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pBaseClass, nullptr);

    EXPECT_TRUE(unit->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    EXPECT_TRUE(unit->IsDerivedFrom(unit));
    EXPECT_FALSE(RUNTIME_CLASS(CCircle)->IsDerivedFrom(unit));
    EXPECT_FALSE(unit->IsDerivedFrom(RUNTIME_CLASS(CSquare)));
    EXPECT_FALSE(unit->IsDerivedFrom(nullptr));

    CUnitCircle circle;
    const CObject& object = circle;
    EXPECT_EQ(object.GetRuntimeClass(), unit) << "the dynamic class, through a base reference";
    EXPECT_TRUE(object.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_FALSE(object.IsKindOf(RUNTIME_CLASS(CSquare)));
}

TEST(RuntimeClass, ClassesAreMadeByNameOnlyWhenDynamicallyCreatable)
{
    std::unique_ptr<CObject> made(CRuntimeClass::CreateObject(L"CCircle"));
    ASSERT_NE(made, nullptr);
    ASSERT_TRUE(made->IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_EQ(static_cast<CCircle*>(made.get())->m_nRadius, 7) << "constructed, not just allocated";

    std::unique_ptr<CObject> square(RUNTIME_CLASS(CSquare)->CreateObject());
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(square->GetRuntimeClass(), RUNTIME_CLASS(CSquare));

    EXPECT_EQ(CRuntimeClass::FromName("CShape"), RUNTIME_CLASS(CShape));
    EXPECT_EQ(CRuntimeClass::CreateObject("CShape"), nullptr) << "dynamic only, not creatable";
    EXPECT_EQ(CRuntimeClass::FromName("ccircle"), nullptr) << "names are exact";
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject(static_cast<LPCWSTR>(nullptr)), nullptr);
}

TEST(RuntimeClass, DowncastsCheckTheClass)
{
    CUnitCircle unit;
    CSquare square;
    CObject* object = &unit;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CCircle, object), &unit);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CSquare, object), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CSquare, static_cast<CObject*>(nullptr)), nullptr);
    EXPECT_EQ(STATIC_DOWNCAST(CShape, object), &unit);

    CObject* wrong = &square;
    try {
        STATIC_DOWNCAST(CCircle, wrong);
        FAIL() << "a wrong class must raise";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
}
