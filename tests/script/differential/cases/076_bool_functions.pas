function IsEven(n: Integer): Boolean;
begin
  Result := n mod 2 = 0;
end;

function InRange(v, lo, hi: Float): Boolean;
begin
  Result := (v >= lo) and (v <= hi);
end;

var i: Integer;
begin
  for i := -2 to 3 do
  begin
    Print(i);
    Print(' even=');
    PrintLn(IsEven(i));
  end;
  Print('InRange(0.5,0,1)='); PrintLn(InRange(0.5, 0, 1));
  Print('InRange(1.5,0,1)='); PrintLn(InRange(1.5, 0, 1));
  Print('InRange(1,0,1)='); PrintLn(InRange(1, 0, 1));
  Print('not IsEven(7)='); PrintLn(not IsEven(7));
end.
